#!/usr/bin/env python3
"""Writes the language files of lang/: English, Italian, Simplified Chinese
and Traditional Chinese (Taiwan). The English file holds the program's
built-in texts, so that choosing it brings English back.

Each file is an INI file in UTF-16LE with a byte-order mark and CRLF line
ends, which GetPrivateProfileStringW reads as Unicode. The sections and keys
are those of the program's table in i18n/LangTexts.cpp; a caption carries one
"&" before its access key, and "&&" shows a single "&". The program appends
the shortcut texts of menu items ("\\tDel", "\\tCtrl+A", ...) itself.

Run it again after changing a text; the .lng files are committed."""
import os
import sys

SECTIONS = ["Header", "Title", "Labels", "Buttons", "Columns", "Status", "ToolTips",
            "FileMenu", "EditMenu", "ViewMenu", "OptionsMenu", "HelpMenu", "Summary", "Reasons", "Confirm", "Browsers",
            "List", "Notices", "Rules"]

ENGLISH = {
    "Header": {"Culture": "English // en-US"},
    "Title": {
        "1": "Standard",
        "2": "Cookies Killer",
        "3": "Offline Temp",
        "4": "Advance",
        "5": "About",
    },
    "Labels": {
        "1": "AutoComplete &Passwords",
        "2": "&Find History",
        "3": "Recent &Documents",
        "4": "&Run History",
        "5": "&Typed URL",
        "6": "Ur&l History",
    },
    "Buttons": {"2": "Clea&n", "3": "&Cancel"},
    "Columns": {"1": "File Name", "2": "Type", "3": "Size", "4": "Date Modified"},
    "Status": {
        "1": "Delete selected object(s)",
        "2": "Move to Recycle Bin",
        "3": "Show or hide the toolbar",
        "4": "Show or hide the status bar",
        "5": "Switch to Standard mode",
        "6": "Temporary Internet Files, Offline Web Pages, Temp",
        "7": "Display program information, version number and copyright",
        "8": "Ready",
        "9": "selected",
        "10": "Quit the application",
        "11": "Deleting",
        "12": "https://www.brisko.example/?",
        "13": "Ready",
        "14": "Completed",
        "15": "Open all selected items?",
        "16": "Open",
        "17": "Choose a rules file whose entries the Standard scan adds, or none",
        "19": "Your organisation's policy sets the rules file",
        "20": "Turned off by your administrator",
    },
    "ToolTips": {
        "1": "Permanently Delete",
        "2": "Move to Recycle Bin",
        "3": "Select All",
        "4": "Unselect All",
        "7": "Standard",
        "8": "Cookies Killer",
        "9": "Offline Temp",
    },
    "FileMenu": {
        "0": "&File",
        "1": "&Open",
        "2": "&Delete",
        "3": "&Move &to Recycle Bin",
        "4": "E&xit",
    },
    "EditMenu": {
        "0": "&Edit",
        "1": "Select &All",
        "2": "&Unselect All",
        "3": "&Invert Selection",
    },
    "ViewMenu": {
        "0": "&View",
        "1": "&Toolbar",
        "2": "&Status Bar",
        "3": "&Language",
    },
    "OptionsMenu": {
        "0": "&Options",
        "1": "&Cookies Killer",
        "2": "O&ffline Temp",
        "3": "&Standard",
        "4": "Extra &Rules...",
    },
    "HelpMenu": {
        "0": "&Help",
        "1": "&Online Help",
        "2": "&Update",
        "3": "&About Brisko .NET...",
    },
    "Summary": {
        "1": "Removed %1 items (%2)",
        "2": "Removed 1 item (%1)",
        "3": "%1 partly removed: %2 of %3 files",
        "4": "%1 left",
        "5": "%1 already gone",
    },
    "Reasons": {
        "1": "gone",
        "2": "unreachable",
        "3": "linked",
        "4": "protected",
        "5": "in use",
        "6": "access denied",
        "7": "refused",
        "8": "odd name",
        "9": "kept by policy",
        "10": "refused by the Recycle Bin",
        "11": "still holding files",
    },
    "Confirm": {
        "1": "Permanently delete %1 items (%2)? This cannot be undone.",
        "2": "Permanently delete 1 item (%1)? This cannot be undone.",
        "3": "%1, %2 folders still measuring…",
        "4": "&Do not ask again",
        "5": "&Yes",
        "6": "&No",
        "7": "%1, 1 folder still measuring…",
    },
}

ITALIAN = {
    "Header": {"Culture": "Italiano // it-IT"},
    "Title": {
        "1": "Standard",
        "2": "Eliminazione cookie",
        "3": "File temporanei e offline",
        "4": "Avanzate",
        "5": "Informazioni su",
    },
    "Labels": {
        "1": "&Password completamento automatico",
        "2": "Cronologia &ricerche",
        "3": "&Documenti recenti",
        "4": "Cronologia &Esegui",
        "5": "&URL digitati",
        "6": "Cronologia UR&L",
    },
    "Buttons": {"2": "Puli&sci", "3": "&Annulla"},
    "Columns": {"1": "Nome file", "2": "Tipo", "3": "Dimensione", "4": "Data modifica"},
    "Status": {
        "1": "Elimina definitivamente gli oggetti selezionati",
        "2": "Sposta nel Cestino",
        "3": "Mostra o nasconde la barra degli strumenti",
        "4": "Mostra o nasconde la barra di stato",
        "5": "Passa alla modalità Standard",
        "6": "File temporanei Internet, pagine Web offline, cartella Temp",
        "7": "Visualizza le informazioni sul programma, il numero di versione e il copyright",
        "8": "Pronto",
        "9": "selezionati",
        "10": "Chiude l'applicazione",
        "11": "Eliminazione in corso:",
        "12": "https://www.brisko.example/update?",
        "13": "Pronto",
        "14": "Completato",
        "15": "Aprire tutti gli elementi selezionati?",
        "16": "Apri",
        "17": "Sceglie un file di regole le cui voci la scansione standard aggiunge, oppure nessuno",
        "19": "Il file di regole è impostato dai criteri dell'organizzazione",
        "20": "Disattivato dall'amministratore",
    },
    "ToolTips": {
        "1": "Elimina definitivamente",
        "2": "Sposta nel Cestino",
        "3": "Seleziona tutti gli elementi",
        "4": "Deseleziona tutti gli elementi",
        "7": "Standard",
        "8": "Eliminazione cookie",
        "9": "File temporanei e offline",
    },
    "FileMenu": {
        "0": "&File",
        "1": "&Apri",
        "2": "&Elimina",
        "3": "Sposta nel &Cestino",
        "4": "E&sci",
    },
    "EditMenu": {
        "0": "&Modifica",
        "1": "Seleziona &tutto",
        "2": "&Deseleziona tutto",
        "3": "&Inverti selezione",
    },
    "ViewMenu": {
        "0": "&Visualizza",
        "1": "&Barra degli strumenti",
        "2": "Barra di &stato",
        "3": "&Lingua",
    },
    "OptionsMenu": {
        "0": "&Opzioni",
        "1": "Eliminazione &cookie",
        "2": "File &temporanei e offline && avanzate",
        "3": "&Standard",
        "4": "&Regole aggiuntive...",
    },
    "HelpMenu": {
        "0": "&Guida",
        "1": "Guida in &linea",
        "2": "&Aggiornamenti",
        "3": "&Informazioni su Brisko .NET...",
    },
    "Summary": {
        "1": "Rimossi %1 elementi (%2)",
        "2": "Rimosso 1 elemento (%1)",
        "3": "%1 rimossi in parte: %2 file su %3",
        "4": "%1 rimasti",
        "5": "%1 già spariti",
    },
    "Reasons": {
        "1": "spariti",
        "2": "irraggiungibili",
        "3": "collegamenti",
        "4": "protetti",
        "5": "in uso",
        "6": "accesso negato",
        "7": "rifiutati",
        "8": "nome anomalo",
        "9": "tenuti dai criteri",
        "10": "rifiutati dal Cestino",
        "11": "con file ancora dentro",
    },
    "Confirm": {
        "1": "Eliminare definitivamente %1 elementi (%2)? L'operazione non può essere annullata.",
        "2": "Eliminare definitivamente 1 elemento (%1)? L'operazione non può essere annullata.",
        "3": "%1, %2 cartelle ancora in misurazione…",
        "4": "&Non chiedere più",
        "5": "&Sì",
        "6": "&No",
        "7": "%1, 1 cartella ancora in misurazione…",
    },
}

SIMPLIFIED_CHINESE = {
    "Header": {"Culture": "简体中文 // zh-CN"},
    "Title": {
        "1": "标准",
        "2": "Cookie 清除",
        "3": "脱机临时文件",
        "4": "高级",
        "5": "关于",
    },
    "Labels": {
        "1": "自动完成密码(&P)",
        "2": "查找历史记录(&F)",
        "3": "最近使用的文档(&D)",
        "4": "运行历史记录(&R)",
        "5": "键入的网址(&T)",
        "6": "网址历史记录(&L)",
    },
    "Buttons": {"2": "清除(&N)", "3": "取消(&C)"},
    "Columns": {"1": "文件名", "2": "类型", "3": "大小", "4": "修改日期"},
    "Status": {
        "1": "永久删除选定的对象",
        "2": "移动到回收站",
        "3": "显示或隐藏工具栏",
        "4": "显示或隐藏状态栏",
        "5": "切换到标准模式",
        "6": "Internet 临时文件、脱机网页、Temp 文件夹",
        "7": "显示程序信息、版本号和版权",
        "8": "就绪",
        "9": "已选定",
        "10": "退出应用程序",
        "11": "正在删除",
        "12": "https://www.brisko.example/zh-cn/update?",
        "13": "就绪",
        "14": "已完成",
        "15": "是否打开所有选定的项目？",
        "16": "打开",
        "17": "选择一个规则文件，其条目由标准扫描添加；或不使用规则文件",
        "19": "规则文件由组织的策略设置",
        "20": "已被管理员关闭",
    },
    "ToolTips": {
        "1": "永久删除",
        "2": "移动到回收站",
        "3": "选择所有项目",
        "4": "取消选择所有项目",
        "7": "标准",
        "8": "Cookie 清除",
        "9": "脱机临时文件",
    },
    "FileMenu": {
        "0": "文件(&F)",
        "1": "打开(&O)",
        "2": "删除(&D)",
        "3": "移动到回收站(&T)",
        "4": "退出(&X)",
    },
    "EditMenu": {
        "0": "编辑(&E)",
        "1": "全选(&A)",
        "2": "取消全选(&U)",
        "3": "反向选择(&I)",
    },
    "ViewMenu": {
        "0": "查看(&V)",
        "1": "工具栏(&T)",
        "2": "状态栏(&S)",
        "3": "语言(&L)",
    },
    "OptionsMenu": {
        "0": "选项(&O)",
        "1": "Cookie 清除(&K)",
        "2": "脱机临时文件和高级(&O)",
        "3": "标准(&R)",
        "4": "额外规则(&E)...",
    },
    "HelpMenu": {
        "0": "帮助(&H)",
        "1": "在线帮助(&O)",
        "2": "更新(&U)",
        "3": "关于 Brisko .NET(&A)...",
    },
    "Summary": {
        "1": "已删除 %1 个项目（%2）",
        "2": "已删除 1 个项目（%1）",
        "3": "%1 个部分删除：%3 个文件中删除了 %2 个",
        "4": "%1 个保留",
        "5": "%1 个已不存在",
    },
    "Reasons": {
        "1": "已不存在",
        "2": "无法访问",
        "3": "链接",
        "4": "受保护",
        "5": "正在使用",
        "6": "拒绝访问",
        "7": "被拒绝",
        "8": "名称异常",
        "9": "被策略保留",
        "10": "被回收站拒绝",
        "11": "仍有文件",
    },
    "Confirm": {
        "1": "永久删除 %1 个项目（%2）？此操作无法撤消。",
        "2": "永久删除 1 个项目（%1）？此操作无法撤消。",
        "3": "%1，%2 个文件夹仍在计算…",
        "4": "不再询问(&D)",
        "5": "是(&Y)",
        "6": "否(&N)",
        "7": "%1，1 个文件夹仍在计算…",
    },
}

TRADITIONAL_CHINESE = {
    "Header": {"Culture": "繁體中文 // zh-TW"},
    "Title": {
        "1": "標準",
        "2": "Cookie 清除",
        "3": "離線暫存檔案",
        "4": "進階",
        "5": "關於",
    },
    "Labels": {
        "1": "自動完成密碼(&P)",
        "2": "搜尋歷程記錄(&F)",
        "3": "最近使用的文件(&D)",
        "4": "執行歷程記錄(&R)",
        "5": "輸入的網址(&T)",
        "6": "網址歷程記錄(&L)",
    },
    "Buttons": {"2": "清除(&N)", "3": "取消(&C)"},
    "Columns": {"1": "檔案名稱", "2": "類型", "3": "大小", "4": "修改日期"},
    "Status": {
        "1": "永久刪除選取的物件",
        "2": "移到資源回收筒",
        "3": "顯示或隱藏工具列",
        "4": "顯示或隱藏狀態列",
        "5": "切換到標準模式",
        "6": "Internet 暫存檔案、離線網頁、Temp 資料夾",
        "7": "顯示程式資訊、版本號碼和著作權",
        "8": "就緒",
        "9": "已選取",
        "10": "結束應用程式",
        "11": "正在刪除",
        "12": "https://www.brisko.example/zh-tw/update?",
        "13": "就緒",
        "14": "已完成",
        "15": "是否開啟所有選取的項目？",
        "16": "開啟",
        "17": "選擇一個規則檔，其項目由標準掃描加入；或不使用規則檔",
        "19": "規則檔由組織的原則設定",
        "20": "已被系統管理員關閉",
    },
    "ToolTips": {
        "1": "永久刪除",
        "2": "移到資源回收筒",
        "3": "選取所有項目",
        "4": "取消選取所有項目",
        "7": "標準",
        "8": "Cookie 清除",
        "9": "離線暫存檔案",
    },
    "FileMenu": {
        "0": "檔案(&F)",
        "1": "開啟(&O)",
        "2": "刪除(&D)",
        "3": "移到資源回收筒(&T)",
        "4": "結束(&X)",
    },
    "EditMenu": {
        "0": "編輯(&E)",
        "1": "全選(&A)",
        "2": "取消全選(&U)",
        "3": "反向選取(&I)",
    },
    "ViewMenu": {
        "0": "檢視(&V)",
        "1": "工具列(&T)",
        "2": "狀態列(&S)",
        "3": "語言(&L)",
    },
    "OptionsMenu": {
        "0": "選項(&O)",
        "1": "Cookie 清除(&K)",
        "2": "離線暫存檔案和進階(&O)",
        "3": "標準(&R)",
        "4": "額外規則(&E)...",
    },
    "HelpMenu": {
        "0": "說明(&H)",
        "1": "線上說明(&O)",
        "2": "更新(&U)",
        "3": "關於 Brisko .NET(&A)...",
    },
    "Summary": {
        "1": "已刪除 %1 個項目（%2）",
        "2": "已刪除 1 個項目（%1）",
        "3": "%1 個部分刪除：%3 個檔案中刪除了 %2 個",
        "4": "%1 個保留",
        "5": "%1 個已不存在",
    },
    "Reasons": {
        "1": "已不存在",
        "2": "無法存取",
        "3": "連結",
        "4": "受保護",
        "5": "使用中",
        "6": "拒絕存取",
        "7": "被拒絕",
        "8": "名稱異常",
        "9": "被原則保留",
        "10": "被資源回收筒拒絕",
        "11": "仍有檔案",
    },
    "Confirm": {
        "1": "永久刪除 %1 個項目（%2）？此動作無法復原。",
        "2": "永久刪除 1 個項目（%1）？此動作無法復原。",
        "3": "%1，%2 個資料夾仍在計算…",
        "4": "不再詢問(&D)",
        "5": "是(&Y)",
        "6": "否(&N)",
        "7": "%1，1 個資料夾仍在計算…",
    },
}

# Options > Browsers and its dialog, in every language.
BROWSERS_TEXTS = {
    "ENGLISH": {
        "Status": {
            "18": "Clean the history, cookies, form data and caches of today's browsers"
        },
        "OptionsMenu": {
            "5": "&Browsers..."
        },
        "Browsers": {
            "0": "Browsers",
            "1": "Browser",
            "2": "Profile",
            "3": "State",
            "4": "&History",
            "5": "&Download history",
            "6": "C&ookies",
            "7": "&Form data",
            "8": "&Sessions (closes the open tabs for good)",
            "9": "C&ache",
            "10": "Sites whose cookies to &keep (one a line):",
            "11": "&Preview",
            "12": "Clea&n",
            "13": "&Close",
            "14": "ready",
            "15": "in use: close the browser",
            "16": "History: %1 visits",
            "17": "Downloads: %1",
            "18": "Cookies: %1 (%2 kept)",
            "19": "Form data: %1 entries",
            "20": "Sessions: %1",
            "21": "Cache: %1",
            "22": "cleaned",
            "23": "left: %1",
            "24": "not a valid SQLite database",
            "25": "damaged (its integrity check failed)",
            "26": "could not be changed",
            "27": "a file stayed (in use or a link)"
        }
    },
    "ITALIAN": {
        "Status": {
            "18": "Pulisce cronologia, cookie, dati dei moduli e cache dei browser di oggi"
        },
        "OptionsMenu": {
            "5": "&Browser..."
        },
        "Browsers": {
            "0": "Browser",
            "1": "Browser",
            "2": "Profilo",
            "3": "Stato",
            "4": "&Cronologia",
            "5": "Cronologia &download",
            "6": "C&ookie",
            "7": "Dati dei &moduli",
            "8": "&Sessioni (chiude per sempre le schede aperte)",
            "9": "C&ache",
            "10": "Siti di cui &conservare i cookie (uno per riga):",
            "11": "&Anteprima",
            "12": "Puli&sci",
            "13": "C&hiudi",
            "14": "pronto",
            "15": "in uso: chiudere il browser",
            "16": "Cronologia: %1 visite",
            "17": "Download: %1",
            "18": "Cookie: %1 (%2 conservati)",
            "19": "Dati dei moduli: %1 voci",
            "20": "Sessioni: %1",
            "21": "Cache: %1",
            "22": "pulito",
            "23": "lasciato: %1",
            "24": "non è un database SQLite valido",
            "25": "danneggiato (il controllo di integrità non è riuscito)",
            "26": "non è stato possibile modificarlo",
            "27": "un file è rimasto (in uso o un collegamento)"
        }
    },
    "SIMPLIFIED_CHINESE": {
        "Status": {
            "18": "清除当今浏览器的历史记录、Cookie、表单数据和缓存"
        },
        "OptionsMenu": {
            "5": "浏览器(&B)..."
        },
        "Browsers": {
            "0": "浏览器",
            "1": "浏览器",
            "2": "配置文件",
            "3": "状态",
            "4": "历史记录(&H)",
            "5": "下载历史记录(&D)",
            "6": "Cookie(&O)",
            "7": "表单数据(&F)",
            "8": "会话(&S)(永久关闭打开的标签页)",
            "9": "缓存(&A)",
            "10": "保留其 Cookie 的网站(&K)(每行一个):",
            "11": "预览(&P)",
            "12": "清除(&N)",
            "13": "关闭(&C)",
            "14": "就绪",
            "15": "正在使用: 请关闭浏览器",
            "16": "历史记录: %1 次访问",
            "17": "下载: %1",
            "18": "Cookie: %1 (保留 %2)",
            "19": "表单数据: %1 项",
            "20": "会话: %1",
            "21": "缓存: %1",
            "22": "已清除",
            "23": "未清除: %1",
            "24": "不是有效的 SQLite 数据库",
            "25": "已损坏(完整性检查失败)",
            "26": "无法更改",
            "27": "有文件保留(正在使用或是链接)"
        }
    },
    "TRADITIONAL_CHINESE": {
        "Status": {
            "18": "清除當今瀏覽器的歷程記錄、Cookie、表單資料和快取"
        },
        "OptionsMenu": {
            "5": "瀏覽器(&B)..."
        },
        "Browsers": {
            "0": "瀏覽器",
            "1": "瀏覽器",
            "2": "設定檔",
            "3": "狀態",
            "4": "歷程記錄(&H)",
            "5": "下載歷程記錄(&D)",
            "6": "Cookie(&O)",
            "7": "表單資料(&F)",
            "8": "工作階段(&S)(永久關閉開啟的分頁)",
            "9": "快取(&A)",
            "10": "保留其 Cookie 的網站(&K)(每行一個):",
            "11": "預覽(&P)",
            "12": "清除(&N)",
            "13": "關閉(&C)",
            "14": "就緒",
            "15": "使用中: 請關閉瀏覽器",
            "16": "歷程記錄: %1 次造訪",
            "17": "下載: %1",
            "18": "Cookie: %1 (保留 %2)",
            "19": "表單資料: %1 筆",
            "20": "工作階段: %1",
            "21": "快取: %1",
            "22": "已清除",
            "23": "未清除: %1",
            "24": "不是有效的 SQLite 資料庫",
            "25": "已損毀(完整性檢查失敗)",
            "26": "無法變更",
            "27": "有檔案保留(使用中或是連結)"
        }
    },
}
for _name, _texts in BROWSERS_TEXTS.items():
    for _section, _keys in _texts.items():
        globals()[_name].setdefault(_section, {}).update(_keys)

# The result list's own texts: the selection's size, a scan's progress in the
# title, and why a row a clean left stays.
LIST_TEXTS = {
    "ENGLISH": {"List": {
        "SelectionSize": "%1 in %2 selected",
        "SelectionSizeFolders": "%1 in %3 selected, %2 folders measuring…",
        "SelectionSizeFolder": "%1 in %3 selected, 1 folder measuring…",
        "Scanning": "%1 - scanning %2",
        "LeftRow": "Not removed: %1",
        "RegistryKey": "Registry key",
        "RegistryValue": "Registry value",
    }},
    "ITALIAN": {"List": {
        "SelectionSize": "%1 in %2 selezionati",
        "SelectionSizeFolders": "%1 in %3 selezionati, %2 cartelle in misurazione…",
        "SelectionSizeFolder": "%1 in %3 selezionati, 1 cartella in misurazione…",
        "Scanning": "%1 - scansione %2",
        "LeftRow": "Non rimosso: %1",
        "RegistryKey": "Chiave del Registro di sistema",
        "RegistryValue": "Valore del Registro di sistema",
    }},
    "SIMPLIFIED_CHINESE": {"List": {
        "SelectionSize": "已选定 %2 项，共 %1",
        "SelectionSizeFolders": "已选定 %3 项，共 %1，%2 个文件夹正在计算…",
        "SelectionSizeFolder": "已选定 %3 项，共 %1，1 个文件夹正在计算…",
        "Scanning": "%1 - 正在扫描 %2",
        "LeftRow": "未删除：%1",
        "RegistryKey": "注册表项",
        "RegistryValue": "注册表值",
    }},
    "TRADITIONAL_CHINESE": {"List": {
        "SelectionSize": "已選取 %2 項，共 %1",
        "SelectionSizeFolders": "已選取 %3 項，共 %1，%2 個資料夾正在計算…",
        "SelectionSizeFolder": "已選取 %3 項，共 %1，1 個資料夾正在計算…",
        "Scanning": "%1 - 正在掃描 %2",
        "LeftRow": "未刪除：%1",
        "RegistryKey": "登錄機碼",
        "RegistryValue": "登錄值",
    }},
}
# The window's own words beside those: a type the shell does not name, the
# language file dialog, the About box, and a policy's rules file that cannot
# be read.
WINDOW_TEXTS = {
    "ENGLISH": {
        "List": {"TypeFile": "File", "TypeExtensionFile": "%1 File"},
        "Title": {"6": "Select Language"},
        "Labels": {"7": "Brisko .NET Language Files", "8": "Version %1", "9": "Brisko team"},
        "Buttons": {"4": "OK"},
        "Notices": {"RulesUnreadable": "policy RulesFile: cannot read %1"},
    },
    "ITALIAN": {
        "List": {"TypeFile": "File", "TypeExtensionFile": "File %1"},
        "Title": {"6": "Seleziona lingua"},
        "Labels": {"7": "File di lingua di Brisko .NET", "8": "Versione %1", "9": "Il team di Brisko"},
        "Buttons": {"4": "OK"},
        "Notices": {"RulesUnreadable": "criterio RulesFile: impossibile leggere %1"},
    },
    "SIMPLIFIED_CHINESE": {
        "List": {"TypeFile": "文件", "TypeExtensionFile": "%1 文件"},
        "Title": {"6": "选择语言"},
        "Labels": {"7": "Brisko .NET 语言文件", "8": "版本 %1", "9": "Brisko 团队"},
        "Buttons": {"4": "确定"},
        "Notices": {"RulesUnreadable": "策略 RulesFile：无法读取 %1"},
    },
    "TRADITIONAL_CHINESE": {
        "List": {"TypeFile": "檔案", "TypeExtensionFile": "%1 檔案"},
        "Title": {"6": "選擇語言"},
        "Labels": {"7": "Brisko .NET 語言檔", "8": "版本 %1", "9": "Brisko 團隊"},
        "Buttons": {"4": "確定"},
        "Notices": {"RulesUnreadable": "原則 RulesFile：無法讀取 %1"},
    },
}
for _texts_by_language in (LIST_TEXTS, WINDOW_TEXTS):
    for _name, _texts in _texts_by_language.items():
        for _section, _keys in _texts.items():
            globals()[_name].setdefault(_section, {}).update(_keys)

# The browsers' question before a clean, their refusals and kept sites, and
# what a scan leaves out and why (the "Notices" section).
MORE_TEXTS = {
    "english.lng": {
        "Notices": {
            "TempRefused": "%1 points to %2: not cleaned",
            "DriveNotVolume": "%1 is not the root of a volume: its drive targets are not looked for",
            "ExcludeUnresolved": "%1 names no place on this machine that can be resolved; that entry is ignored",
        },
        "Browsers": {
            "28": "refused: its folder is outside your user folder",
            "29": "left: a policy excludes its folder",
            "30": "a link or a file with more than one name (never written)",
            "31": "excluded by a policy",
            "32": "Clean %1 from %2 profiles? This cannot be undone.",
            "33": "Clean %1 from 1 profile? This cannot be undone.",
            "34": "%1 visits",
            "35": "%1 downloads",
            "36": "%1 cookies (%2 kept)",
            "37": "%1 form entries",
            "38": "sessions (%1)",
            "39": "cache (%1)",
            "40": "kept sites with no cookie: %1",
            "41": "cookies cleaned, %1 kept",
        },
    },
    "italiano.lng": {
        "Notices": {
            "TempRefused": "%1 punta a %2: non pulita",
            "DriveNotVolume": "%1 non è la radice di un volume: i suoi elementi di unità non vengono cercati",
            "ExcludeUnresolved": "%1 non indica un percorso risolvibile su questo computer; la voce viene ignorata",
        },
        "Browsers": {
            "28": "rifiutato: la sua cartella è fuori dalla tua cartella utente",
            "29": "lasciato: un criterio esclude la sua cartella",
            "30": "un collegamento o un file con più di un nome (mai scritto)",
            "31": "escluso da un criterio",
            "32": "Pulire %1 da %2 profili? L'operazione non può essere annullata.",
            "33": "Pulire %1 da 1 profilo? L'operazione non può essere annullata.",
            "34": "%1 visite",
            "35": "%1 download",
            "36": "%1 cookie (%2 mantenuti)",
            "37": "%1 voci di moduli",
            "38": "sessioni (%1)",
            "39": "cache (%1)",
            "40": "siti mantenuti senza cookie: %1",
            "41": "cookie puliti, %1 mantenuti",
        },
    },
    "s_chinese.lng": {
        "Notices": {
            "TempRefused": "%1 指向 %2：不清理",
            "DriveNotVolume": "%1 不是卷的根目录：不查找其驱动器目标",
            "ExcludeUnresolved": "%1 无法解析为本机上的位置；已忽略该条目",
        },
        "Browsers": {
            "28": "已拒绝:其文件夹不在你的用户文件夹内",
            "29": "已保留:策略排除了其文件夹",
            "30": "链接或有多个名称的文件(从不写入)",
            "31": "已被策略排除",
            "32": "要从 %2 个配置文件中清除 %1 吗?此操作无法撤消。",
            "33": "要从 1 个配置文件中清除 %1 吗?此操作无法撤消。",
            "34": "%1 条访问记录",
            "35": "%1 个下载",
            "36": "%1 个 Cookie(保留 %2 个)",
            "37": "%1 条表单数据",
            "38": "会话(%1)",
            "39": "缓存(%1)",
            "40": "没有 Cookie 的保留网站:%1",
            "41": "Cookie 已清除,保留 %1 个",
        },
    },
    "t_chinese.lng": {
        "Notices": {
            "TempRefused": "%1 指向 %2：不清理",
            "DriveNotVolume": "%1 不是磁碟區的根目錄：不尋找其磁碟機目標",
            "ExcludeUnresolved": "%1 無法解析為本機上的位置；已忽略該項目",
        },
        "Browsers": {
            "28": "已拒絕:其資料夾不在您的使用者資料夾內",
            "29": "已保留:原則排除了其資料夾",
            "30": "連結或有多個名稱的檔案(從不寫入)",
            "31": "已被原則排除",
            "32": "要從 %2 個設定檔中清除 %1 嗎?此動作無法復原。",
            "33": "要從 1 個設定檔中清除 %1 嗎?此動作無法復原。",
            "34": "%1 筆瀏覽記錄",
            "35": "%1 個下載",
            "36": "%1 個 Cookie(保留 %2 個)",
            "37": "%1 筆表單資料",
            "38": "工作階段(%1)",
            "39": "快取(%1)",
            "40": "沒有 Cookie 的保留網站:%1",
            "41": "Cookie 已清除,保留 %1 個",
        },
    },
}
for _file, _sections in MORE_TEXTS.items():
    _texts = {"english.lng": ENGLISH, "italiano.lng": ITALIAN, "s_chinese.lng": SIMPLIFIED_CHINESE, "t_chinese.lng": TRADITIONAL_CHINESE}[_file]
    for _section, _values in _sections.items():
        _texts.setdefault(_section, {}).update(_values)

# Options > Extra Rules and its dialog.
RULES_TEXTS = {
    "ENGLISH": {"0": "Extra Rules", "1": "&File...", "2": "No rules file is chosen: choose one with File...", "3": "&Search:", "4": "OK", "5": "Cancel", "6": "%1 items, %2", "7": "does not apply here", "8": "measuring %1 of %2 entries...", "9": "%1 of %2 entries apply here; %3 on", "10": "Warning: %1", "11": "\"%2\" warns: %1 Turn it on all the same?", "12": "(no group)", "13": "1 item, %1"},
    "ITALIAN": {"0": "Regole aggiuntive", "1": "&File...", "2": "Nessun file di regole scelto: sceglierne uno con File...", "3": "&Cerca:", "4": "OK", "5": "Annulla", "6": "%1 elementi, %2", "7": "non si applica qui", "8": "misurazione di %1 voci su %2...", "9": "%1 voci su %2 si applicano qui; %3 attive", "10": "Avviso: %1", "11": "\"%2\" avverte: %1 Attivarla comunque?", "12": "(nessun gruppo)", "13": "1 elemento, %1"},
    "SIMPLIFIED_CHINESE": {"0": "额外规则", "1": "文件(&F)...", "2": "未选择规则文件：请用“文件...”选择", "3": "搜索(&S):", "4": "确定", "5": "取消", "6": "%1 项，%2", "7": "不适用于本机", "8": "正在测量第 %1 项，共 %2 项...", "9": "%2 项中有 %1 项适用于本机；已启用 %3 项", "10": "警告：%1", "11": "“%2”警告：%1 仍要启用吗？", "12": "（无分组）", "13": "1 项，%1"},
    "TRADITIONAL_CHINESE": {"0": "額外規則", "1": "檔案(&F)...", "2": "未選擇規則檔案：請用「檔案...」選擇", "3": "搜尋(&S):", "4": "確定", "5": "取消", "6": "%1 項，%2", "7": "不適用於本機", "8": "正在測量第 %1 項，共 %2 項...", "9": "%2 項中有 %1 項適用於本機；已啟用 %3 項", "10": "警告：%1", "11": "「%2」警告：%1 仍要啟用嗎？", "12": "（無群組）", "13": "1 項，%1"},
}
for _name, _keys in RULES_TEXTS.items():
    globals()[_name]["Rules"] = _keys

FILES = {
    "english.lng": ENGLISH,
    "italiano.lng": ITALIAN,
    "s_chinese.lng": SIMPLIFIED_CHINESE,
    "t_chinese.lng": TRADITIONAL_CHINESE,
}


def render(texts):
    lines = []
    for section in SECTIONS:
        if lines:
            lines.append("")
        lines.append("[%s]" % section)
        for key, value in texts[section].items():
            lines.append("%s=%s" % (key, value))
    return "\ufeff" + "\r\n".join(lines) + "\r\n"


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "lang")
    for name, texts in FILES.items():
        assert list(texts) == SECTIONS, name
        with open(os.path.join(folder, name), "wb") as out:
            out.write(render(texts).encode("utf-16-le"))
        print("wrote lang/" + name)
    return 0


if __name__ == "__main__":
    sys.exit(main())
