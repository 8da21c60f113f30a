#include "sim/Platform.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace sim {

DateTime LocalNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

void Pause(std::int32_t milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// The native library serves unit tests: nothing is shown, nothing raised.
void ShowErrorBox(const std::string&, const std::string&, bool) {}
void RaiseFault(const FaultSetting&) {}
bool ShowNotice(std::int32_t) { return true; }
void* MakeHelperWindow() { return nullptr; }
std::string ShowProgress() { return {}; }
void* ShowStatusWindow() { return nullptr; }
std::string LookAtStatusWindow(void*) { return {}; }
bool WindowExists(void*) { return true; }

} // namespace sim
