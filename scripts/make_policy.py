#!/usr/bin/env python3
"""Writes the Group Policy templates of policy/: brisko.admx, which names the
values that the program reads below SOFTWARE\\Policies\\Brisko\\Brisko .NET,
and one brisko.adml a language (en-US, it-IT, zh-CN, zh-TW) with the texts
the Group Policy editor shows. The names of the program's commands and modes
in those texts come from the language files' texts (scripts/make_lang.py), so
that an administrator reads the words the user sees.

Run it again after changing a text; the files are committed."""
import os
import re
import sys
from xml.sax.saxutils import escape, quoteattr

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_lang  # noqa: E402

KEY = r"SOFTWARE\Policies\Brisko\Brisko .NET"
NAMESPACE = "http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions"
XSD = 'xmlns:xsd="http://www.w3.org/2001/XMLSchema" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance"'

# name, kind: "flag" (REG_DWORD 1/0), "text" (REG_EXPAND_SZ) or "list" (REG_MULTI_SZ)
POLICIES = [
    ("RulesFile", "text"),
    ("RecycleOnly", "flag"),
    ("ExcludePaths", "list"),
    ("KeepCookies", "list"),
    ("DisablePrivacy", "flag"),
]

def plain(caption):
    """A menu caption without its access key, its "(&X)" and its dots."""
    caption = re.sub(r"\(&.\)", "", caption).replace("&&", "\0").replace("&", "").replace("\0", "&")
    return caption.replace("...", "").strip()


def names_of(texts):
    return {
        "cookies": texts["Title"]["2"],
        "offline": texts["Title"]["3"],
        "advance": texts["Title"]["4"],
        "rules": plain(texts["OptionsMenu"]["4"]),
        "delete": plain(texts["FileMenu"]["2"]),
        "recycle": plain(texts["FileMenu"]["3"]),
    }


ENGLISH = {
    "Brisko": "Brisko .NET",
    "Supported": "Brisko .NET 3.6 and later",
    "RulesFile": "Use this rules file for every Standard scan",
    "RulesFile_Explain": "Every Standard scan, of the window and of brisko-cli, adds what the entries of this "
    "rules file (winapp2 INI form) find. The user cannot choose another: Options > {rules} is greyed. "
    "Environment variables such as %ProgramFiles% are expanded. A file that cannot be read adds nothing.",
    "RulesFile_Label": "Full path of the rules file:",
    "RecycleOnly": "Remove to the Recycle Bin only",
    "RecycleOnly_Explain": "Permanent removal is turned off: {delete} (Shift+Del) and its toolbar button are "
    "greyed, and brisko-cli clean --permanent is refused with exit status 2. {recycle} stays available.",
    "ExcludePaths": "Never list or remove these paths",
    "ExcludePaths_Explain": "Folders (with all they hold) and files that no scan, rules file or browser cleaning "
    "lists or removes, one full path a line, in any spelling. The last step may hold * and ?, as in "
    "C:\\Data\\*.log. Environment variables such as %LOCALAPPDATA% are expanded. A folder that holds an "
    "excluded item is kept around it.",
    "ExcludePaths_Label": "Paths, one a line:",
    "KeepCookies": "Keep the cookies of these sites",
    "KeepCookies_Explain": "Sites (such as intranet.example.com) whose cookies every browser cleaning keeps, "
    "added to the user's own list, one a line.",
    "KeepCookies_Label": "Sites, one a line:",
    "DisablePrivacy": "Turn off the privacy cleaning",
    "DisablePrivacy_Explain": "{cookies}, {offline} and its {advance} dialog, and the browser cleaning are "
    "greyed in the window and refused by brisko-cli (exit status 2). The Standard scan stays available.",
}

ITALIAN = {
    "Brisko": "Brisko .NET",
    "Supported": "Brisko .NET 3.6 e successive",
    "RulesFile": "Usa questo file di regole per ogni scansione standard",
    "RulesFile_Explain": "Ogni scansione standard, della finestra e di brisko-cli, aggiunge ciò che trovano le "
    "voci di questo file di regole (formato INI winapp2). L'utente non può sceglierne un altro: "
    "Opzioni > {rules} è disattivato. Le variabili d'ambiente come %ProgramFiles% vengono espanse. "
    "Un file illeggibile non aggiunge nulla.",
    "RulesFile_Label": "Percorso completo del file di regole:",
    "RecycleOnly": "Rimuovi solo nel Cestino",
    "RecycleOnly_Explain": "La rimozione definitiva è disattivata: {delete} (Maiusc+Canc) e il suo pulsante "
    "sono disattivati, e brisko-cli clean --permanent è rifiutato con codice di uscita 2. "
    "{recycle} resta disponibile.",
    "ExcludePaths": "Non elencare né rimuovere mai questi percorsi",
    "ExcludePaths_Explain": "Cartelle (con tutto il loro contenuto) e file che nessuna scansione, file di regole "
    "o pulizia dei browser elenca o rimuove, un percorso completo per riga, in qualsiasi grafia. L'ultimo "
    "passo può contenere * e ?, come in C:\\Dati\\*.log. Le variabili d'ambiente come %LOCALAPPDATA% "
    "vengono espanse. Una cartella che contiene un elemento escluso resta intorno ad esso.",
    "ExcludePaths_Label": "Percorsi, uno per riga:",
    "KeepCookies": "Mantieni i cookie di questi siti",
    "KeepCookies_Explain": "Siti (come intranet.example.com) i cui cookie ogni pulizia dei browser mantiene, "
    "aggiunti all'elenco dell'utente, uno per riga.",
    "KeepCookies_Label": "Siti, uno per riga:",
    "DisablePrivacy": "Disattiva la pulizia della privacy",
    "DisablePrivacy_Explain": "{cookies}, {offline} e la finestra {advance}, e la pulizia dei browser sono "
    "disattivati nella finestra e rifiutati da brisko-cli (codice di uscita 2). La scansione standard resta "
    "disponibile.",
}

SIMPLIFIED_CHINESE = {
    "Brisko": "Brisko .NET",
    "Supported": "Brisko .NET 3.6 及更高版本",
    "RulesFile": "每次标准扫描都使用此规则文件",
    "RulesFile_Explain": "窗口和 brisko-cli 的每次标准扫描都会添加此规则文件（winapp2 INI 格式）的条目所找到的内容。"
    "用户不能选择其他文件：“选项 > {rules}”呈灰色。会展开 %ProgramFiles% 等环境变量。无法读取的文件不添加任何内容。",
    "RulesFile_Label": "规则文件的完整路径：",
    "RecycleOnly": "只移动到回收站",
    "RecycleOnly_Explain": "永久删除被关闭：“{delete}”(Shift+Del) 及其工具栏按钮呈灰色，"
    "brisko-cli clean --permanent 被拒绝，退出状态为 2。“{recycle}”仍可用。",
    "ExcludePaths": "从不列出或删除这些路径",
    "ExcludePaths_Explain": "任何扫描、规则文件或浏览器清理都不会列出或删除的文件夹（及其全部内容）和文件，每行一个完整路径，"
    "任何写法均可。最后一级可以包含 * 和 ?，例如 C:\\Data\\*.log。会展开 %LOCALAPPDATA% 等环境变量。"
    "包含被排除项目的文件夹会被保留。",
    "ExcludePaths_Label": "路径，每行一个：",
    "KeepCookies": "保留这些网站的 Cookie",
    "KeepCookies_Explain": "每次浏览器清理都保留其 Cookie 的网站（例如 intranet.example.com），每行一个，"
    "添加到用户自己的列表中。",
    "KeepCookies_Label": "网站，每行一个：",
    "DisablePrivacy": "关闭隐私清理",
    "DisablePrivacy_Explain": "“{cookies}”、“{offline}”及其“{advance}”对话框以及浏览器清理在窗口中呈灰色，"
    "并被 brisko-cli 拒绝（退出状态为 2）。标准扫描仍可用。",
}

TRADITIONAL_CHINESE = {
    "Brisko": "Brisko .NET",
    "Supported": "Brisko .NET 3.6 及更新版本",
    "RulesFile": "每次標準掃描都使用此規則檔",
    "RulesFile_Explain": "視窗和 brisko-cli 的每次標準掃描都會加入此規則檔（winapp2 INI 格式）的項目所找到的內容。"
    "使用者不能選擇其他檔案：「選項 > {rules}」呈灰色。會展開 %ProgramFiles% 等環境變數。無法讀取的檔案不加入任何內容。",
    "RulesFile_Label": "規則檔的完整路徑：",
    "RecycleOnly": "只移到資源回收筒",
    "RecycleOnly_Explain": "永久刪除已關閉：「{delete}」(Shift+Del) 及其工具列按鈕呈灰色，"
    "brisko-cli clean --permanent 會被拒絕，結束狀態為 2。「{recycle}」仍可使用。",
    "ExcludePaths": "永不列出或刪除這些路徑",
    "ExcludePaths_Explain": "任何掃描、規則檔或瀏覽器清理都不會列出或刪除的資料夾（及其全部內容）和檔案，每行一個完整路徑，"
    "任何寫法皆可。最後一層可以包含 * 和 ?，例如 C:\\Data\\*.log。會展開 %LOCALAPPDATA% 等環境變數。"
    "包含被排除項目的資料夾會被保留。",
    "ExcludePaths_Label": "路徑，每行一個：",
    "KeepCookies": "保留這些網站的 Cookie",
    "KeepCookies_Explain": "每次瀏覽器清理都保留其 Cookie 的網站（例如 intranet.example.com），每行一個，"
    "加入使用者自己的清單中。",
    "KeepCookies_Label": "網站，每行一個：",
    "DisablePrivacy": "關閉隱私清理",
    "DisablePrivacy_Explain": "「{cookies}」、「{offline}」及其「{advance}」對話方塊以及瀏覽器清理在視窗中呈灰色，"
    "並被 brisko-cli 拒絕（結束狀態為 2）。標準掃描仍可使用。",
}

LANGUAGES = [
    ("en-US", ENGLISH, names_of(make_lang.ENGLISH)),
    ("it-IT", ITALIAN, names_of(make_lang.ITALIAN)),
    ("zh-CN", SIMPLIFIED_CHINESE, names_of(make_lang.SIMPLIFIED_CHINESE)),
    ("zh-TW", TRADITIONAL_CHINESE, names_of(make_lang.TRADITIONAL_CHINESE)),
]


def admx():
    out = ['<?xml version="1.0" encoding="utf-8"?>',
           '<policyDefinitions %s revision="1.0" schemaVersion="1.0" xmlns="%s">' % (XSD, NAMESPACE),
           '  <policyNamespaces>',
           '    <target prefix="brisko" namespace="Brisko.Policies.Brisko" />',
           '  </policyNamespaces>',
           '  <resources minRequiredRevision="1.0" />',
           '  <supportedOn>',
           '    <definitions>',
           '      <definition name="SUPPORTED_Brisko" displayName="$(string.Supported)" />',
           '    </definitions>',
           '  </supportedOn>',
           '  <categories>',
           '    <category name="Brisko" displayName="$(string.Brisko)" />',
           '  </categories>',
           '  <policies>']
    for name, kind in POLICIES:
        attributes = 'name="%s" class="Both" displayName="$(string.%s)" explainText="$(string.%s_Explain)"' % (
            name, name, name)
        if kind != "flag":
            attributes += ' presentation="$(presentation.%s)"' % name
        attributes += " key=%s" % quoteattr(KEY)
        if kind == "flag":
            attributes += ' valueName="%s"' % name
        out.append("    <policy %s>" % attributes)
        out.append('      <parentCategory ref="Brisko" />')
        out.append('      <supportedOn ref="SUPPORTED_Brisko" />')
        if kind == "flag":
            out.append('      <enabledValue>\n        <decimal value="1" />\n      </enabledValue>')
            out.append('      <disabledValue>\n        <decimal value="0" />\n      </disabledValue>')
        else:
            element = ('<text id="%s" valueName="%s" required="true" expandable="true" maxLength="1024" />'
                       if kind == "text" else '<multiText id="%s" valueName="%s" required="true" />')
            out.append("      <elements>\n        %s\n      </elements>" % (element % (name, name)))
        out.append("    </policy>")
    out += ["  </policies>", "</policyDefinitions>"]
    return "\r\n".join(out) + "\r\n"


def adml(texts, names):
    strings = []
    for key, value in texts.items():
        if key.endswith("_Label"):
            continue
        strings.append('      <string id="%s">%s</string>' % (key, escape(value.format(**names))))
    presentations = []
    for name, kind in POLICIES:
        if kind == "flag":
            continue
        label = escape(texts[name + "_Label"])
        control = ('<textBox refId="%s">\n          <label>%s</label>\n        </textBox>' % (name, label)
                   if kind == "text" else '<multiTextBox refId="%s">%s</multiTextBox>' % (name, label))
        presentations.append('      <presentation id="%s">\n        %s\n      </presentation>' % (name, control))
    out = ['<?xml version="1.0" encoding="utf-8"?>',
           '<policyDefinitionResources %s revision="1.0" schemaVersion="1.0" xmlns="%s">' % (XSD, NAMESPACE),
           "  <displayName>%s</displayName>" % escape(texts["Brisko"]),
           "  <description>%s</description>" % escape(texts["Brisko"]),
           "  <resources>",
           "    <stringTable>"] + strings + ["    </stringTable>", "    <presentationTable>"] + presentations + [
           "    </presentationTable>", "  </resources>", "</policyDefinitionResources>"]
    return "\r\n".join(out) + "\r\n"


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "policy")
    with open(os.path.join(folder, "brisko.admx"), "wb") as out:
        out.write(admx().encode("utf-8"))
    print("wrote policy/brisko.admx")
    for language, texts, names in LANGUAGES:
        assert list(texts) == list(ENGLISH), language
        os.makedirs(os.path.join(folder, language), exist_ok=True)
        with open(os.path.join(folder, language, "brisko.adml"), "wb") as out:
            out.write(adml(texts, names).encode("utf-8"))
        print("wrote policy/%s/brisko.adml" % language)
    return 0


if __name__ == "__main__":
    sys.exit(main())
