#include "cli/TaskScheduler.h"

#include <windows.h>
#include <taskschd.h>

#include "win/ComPtr.h"
#include "win/Handle.h"

namespace {

constexpr const wchar_t* kFolder = L"\\Brisko";

std::wstring Failure(const wchar_t* what, HRESULT hr) {
    wchar_t code[16];
    swprintf(code, 16, L"0x%08lX", static_cast<unsigned long>(hr));
    return std::wstring(what) + L" (" + code + L")";
}

VARIANT Empty() {
    VARIANT empty;
    ::VariantInit(&empty);
    return empty;
}

class CTaskScheduler : public ITaskStore {
public:
    explicit CTaskScheduler(win::ComPtr<ITaskService> service) : m_service(std::move(service)) {}

    std::wstring Register(const std::wstring& name, const std::wstring& xml) override {
        win::ComPtr<ITaskFolder> folder;
        if (HRESULT hr = OpenFolder(folder, true); FAILED(hr)) return Failure(L"cannot open the \\Brisko folder", hr);
        win::ComPtr<IRegisteredTask> task;
        HRESULT hr = folder->RegisterTask(win::Bstr(name).Get(), win::Bstr(xml).Get(), TASK_CREATE_OR_UPDATE, Empty(),
                                          Empty(), TASK_LOGON_INTERACTIVE_TOKEN, Empty(), task.Put());
        return SUCCEEDED(hr) ? L"" : Failure(L"the Task Scheduler refused the task", hr);
    }

    std::vector<std::pair<std::wstring, std::wstring>> Tasks(std::wstring& error) override {
        std::vector<std::pair<std::wstring, std::wstring>> tasks;
        win::ComPtr<ITaskFolder> folder;
        if (HRESULT hr = OpenFolder(folder, false); FAILED(hr)) {
            // No folder yet, no tasks: Windows tells it as a missing file, Wine as a missing path.
            if (hr != HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) && hr != HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND))
                error = Failure(L"cannot open the \\Brisko folder", hr);
            return tasks;
        }
        win::ComPtr<IRegisteredTaskCollection> all;
        LONG count = 0;
        HRESULT hr = folder->GetTasks(TASK_ENUM_HIDDEN, all.Put());
        if (SUCCEEDED(hr)) hr = all->get_Count(&count);
        if (FAILED(hr)) {
            error = Failure(L"cannot list the tasks", hr);
            return tasks;
        }
        for (LONG i = 1; i <= count; ++i) {
            VARIANT index = Empty();
            index.vt = VT_I4;
            index.lVal = i;
            win::ComPtr<IRegisteredTask> task;
            win::Bstr name, xml;
            if (SUCCEEDED(all->get_Item(index, task.Put())) && SUCCEEDED(task->get_Name(name.Put())) &&
                SUCCEEDED(task->get_Xml(xml.Put())))
                tasks.emplace_back(name.Text(), xml.Text());
        }
        return tasks;
    }

    std::wstring Remove(const std::wstring& name, bool& missing) override {
        win::ComPtr<ITaskFolder> folder;
        HRESULT hr = OpenFolder(folder, false);
        if (SUCCEEDED(hr)) hr = folder->DeleteTask(win::Bstr(name).Get(), 0);
        missing = hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) || hr == HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
        return SUCCEEDED(hr) ? L"" : missing ? L"no task \"" + name + L"\" in \\Brisko" : Failure(L"cannot remove the task", hr);
    }

private:
    HRESULT OpenFolder(win::ComPtr<ITaskFolder>& folder, bool create) {
        HRESULT hr = m_service->GetFolder(win::Bstr(kFolder).Get(), folder.Put());
        if (SUCCEEDED(hr) || !create) return hr;
        win::ComPtr<ITaskFolder> root;
        if (HRESULT rootHr = m_service->GetFolder(win::Bstr(L"\\").Get(), root.Put()); FAILED(rootHr)) return rootHr;
        return root->CreateFolder(win::Bstr(kFolder).Get(), Empty(), folder.Put());
    }

    win::ComPtr<ITaskService> m_service;
};

}  // namespace

std::unique_ptr<ITaskStore> ConnectTaskScheduler(std::wstring& error) {
    win::ComPtr<ITaskService> service;
    HRESULT hr = ::CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskService,
                                    service.PutVoid());
    if (SUCCEEDED(hr)) hr = service->Connect(Empty(), Empty(), Empty(), Empty());
    if (FAILED(hr)) {
        error = Failure(L"cannot reach the Task Scheduler", hr);
        return nullptr;
    }
    return std::make_unique<CTaskScheduler>(std::move(service));
}

std::wstring CurrentAccountName() {
    win::KernelHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.Put())) return {};
    BYTE buffer[SECURITY_MAX_SID_SIZE + sizeof(TOKEN_USER)] = {};
    DWORD size = 0;
    if (!::GetTokenInformation(token.Get(), TokenUser, buffer, sizeof(buffer), &size)) return {};
    wchar_t name[257] = {}, domain[257] = {};
    DWORD nameSize = 257, domainSize = 257;
    SID_NAME_USE use;
    if (!::LookupAccountSidW(nullptr, reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, name, &nameSize, domain,
                             &domainSize, &use))
        return {};
    return domain[0] ? std::wstring(domain) + L"\\" + name : std::wstring(name);
}
