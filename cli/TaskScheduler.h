#pragma once
// The tasks of the Task Scheduler's \Brisko folder, through its COM
// interface (ITaskService), behind a small interface that tests replace.
#include <memory>
#include <string>
#include <utility>
#include <vector>

class ITaskStore {
public:
    virtual ~ITaskStore() = default;
    // Registers (or replaces) task `name` with the XML definition; "" or why not.
    virtual std::wstring Register(const std::wstring& name, const std::wstring& xml) = 0;
    // Every task of the folder: its name and XML definition. `error` says why none could be read.
    virtual std::vector<std::pair<std::wstring, std::wstring>> Tasks(std::wstring& error) = 0;
    // Removes task `name`; "" or why not, `missing` set when there is no such task.
    virtual std::wstring Remove(const std::wstring& name, bool& missing) = 0;
};

// The machine's Task Scheduler; nothing (and `error` set) when it cannot be reached.
std::unique_ptr<ITaskStore> ConnectTaskScheduler(std::wstring& error);

// The user that a task runs as: DOMAIN\name of this process's user.
std::wstring CurrentAccountName();
