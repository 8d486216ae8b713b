// The targets that only the Standard scan visits, in the order they are visited.
#include "catalog/BriskoDoc.h"

void CBriskoDoc::FillStandardCollections() {
    m_listWindowsPatternTargets = {
        {L"Inf", L"*.bak"},
        {L"Debug\\UserMode", L"*.*"},
        {L"Debug\\WIA", L"*.*"},
        {L"LiveKernelReports", L"*.*"},
        {L"ModemLogs", L"*.*"},
        {L"PLA\\Reports", L"*.*"},
        {L"Log", L"*.*"},
        {L"Minidump", L"*.dmp"},
        {L"Security", L"*.chk"},
        {L"Security", L"*.log"},
        {L"Sysbckup", L"*.cpl"},
        {L"Sysbckup", L"*.dll"},
        {L"Sysbckup", L"*.drv"},
        {L"Sysbckup", L"*.sys"},
        {L"Sysbckup", L"*.vxd"},
        {L"Command", L"drv*.*"},
        {L"System32", L"*.bak"},
        {L"System32", L"*.tmp"},
        {L"System32\\Catroot2", L"*.chk"},
        {L"System32\\Catroot2", L"*.log"},
        {L"System32\\dtclog", L"*.*"},
        {L"System32\\logfiles", L"*.*"},
        {L"System32\\Msdtc\\Trace", L"*.log.*"},
        {L"System32\\Ntmsdata", L"*.bak"},
        {L"System32\\Config", L"*.bak"},
        {L"Pchealth\\ErrorRep", L"*.*"},
        {L"Pchealth\\HelpCtr\\Logs", L"*.*"},
        {L"Pchealth\\HelpCtr\\OfflineCache", L"*.*"},
        {L"Pchealth\\HelpCtr\\Temp", L"*.*"},
        {L"tracing\\wzcmon", L"*.*"},
    };
    m_listProfileIEFolders = {
        L"Documents and Settings\\Default User\\Application Data\\Microsoft\\Internet Explorer",
        L"Documents and Settings\\Local Settings\\Application Data\\Microsoft\\Internet Explorer",
        L"Documents and Settings\\NetworkService\\Application Data\\Microsoft\\Internet Explorer",
        L"Documents and Settings\\Local Settings\\Local Settings\\Application Data\\Microsoft\\Windows",
        L"Documents and Settings\\NetworkService\\Local Settings\\Application Data\\Microsoft\\Windows",
    };
    m_listWindowsRootPatterns = {L"*.bak", L"*.bmp", L"*.log", L"*.old",
                                 L"*.tmp", L"*.txt", L"progman.*", L"winfile.*"};
    m_listDriveRootPatterns = {L"*.chk", L"*.bak", L"*.log", L"*.tmp"};
    m_listAllUsersFolders = {L"Documents and Settings\\Dr Watson", L"Application Data\\Microsoft\\Dr Watson"};
    m_listAppDataFolders = {L"Microsoft\\Web service\\Cache", L"Microsoft\\Welcome"};
    m_listRootFileNames = {L"arcldr.exe",   L"arcsetup.exe", L"classes.1st",  L"detlog.txt",
                           L"frunlog.txt",  L"netlog.txt",   L"setuplog.old", L"setuplog.txt",
                           L"suhdlog.dat",  L"system.1st",   L"videorom.bin"};
    // Ten lost-cluster folders of a disk check; a Found.010 is not looked for.
    m_listFoundFolders = {L"Found.000", L"Found.001", L"Found.002", L"Found.003", L"Found.004",
                          L"Found.005", L"Found.006", L"Found.007", L"Found.008", L"Found.009"};
    m_listWindowsFolders = {
        L"Applog",           L"msapps",
        L"Options",          L"Repair",
        L"ServicePackFiles", L"SoftwareDistribution\\Download",
        L"System32\\AdCache", L"System32\\cache",
        L"System32\\wbem\\Logs", L"Prefetch",
        L"Security\\Logs",   L"Pchealth\\Helpctr\\Config\\Cache",
        L"Printhood",        L"Amcdl",
        L"Connection Wizard", L"Csc",
        L"system32\\cache632", L"Driver Cache",
        L"System\\Wbem\\Logs",
    };
}
