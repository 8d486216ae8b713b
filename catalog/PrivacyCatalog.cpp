// The registry keys of the recently-used lists that the privacy options
// remove, below HKEY_CURRENT_USER, each list in its order of removal.
#include "catalog/BriskoDoc.h"

void CBriskoDoc::FillPrivacyCollections() {
    m_strIntelliFormsKey = L"Software\\Microsoft\\Internet Explorer\\IntelliForms";
    m_listRunHistoryKeys = {L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU",
                            L"Software\\Microsoft\\Windows\\ShellNoRoam\\MUICache"};
    m_strTypedURLsKey = L"Software\\Microsoft\\Internet Explorer\\TypedURLs";
    m_listFindHistoryKeys = {
        L"Software\\Microsoft\\Internet Explorer\\Explorer Bars\\{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}\\ContainingTextMRU",
        L"Software\\Microsoft\\Internet Explorer\\Explorer Bars\\{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}\\FilesNamedMRU",
        L"Software\\Microsoft\\Internet Explorer\\Explorer Bars\\{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}\\ComputerNameMRU",
        L"Software\\Microsoft\\Internet Explorer\\Search\\SearchAssistant",
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Doc Find Spec MRU",
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FindComputerMRU",
        L"Software\\Google\\NavClient\\1.1\\History",
    };
    m_listRecentDocKeys = {
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs",
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU",
        L"Software\\Microsoft\\Directdraw\\MostRecentApplication",
        L"Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList",
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List",
        L"Software\\RealNetworks\\RealPlayer\\6.0\\Preferences\\MostRecentClips1",
        L"Software\\RealNetworks\\RealPlayer\\6.0\\Preferences\\MostRecentClips2",
        L"Software\\RealNetworks\\RealPlayer\\6.0\\Preferences\\MostRecentClips3",
        L"Software\\RealNetworks\\RealPlayer\\6.0\\Preferences\\MostRecentClips4",
        L"Software\\Macromedia\\Flash 7\\LastOpenDocs",
        L"Software\\Macromedia\\Flash 7\\Recent File List",
        L"Software\\Microsoft\\FrontPage\\Explorer\\FrontPage Explorer\\Recent Page List",
        L"Software\\Microsoft\\MSPaper 11.0\\Recent File List",
        L"Software\\Microsoft\\Office\\11.0\\PowerPoint\\Recent File List",
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Wordpad\\Recent File List",
        L"Software\\WinRAR\\ArcHistory",
    };
}
