#include "platform/process.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <utility>

#include "platform/status_window.h"

namespace platform {
namespace {

EndHook& end_hook() {
    static EndHook hook;
    return hook;
}

}  // namespace

int exit_status_for_marker(std::string_view marker) {
    if (marker == "0000") return exit_status::fatal;
    if (marker == "0001") return exit_status::stopped;
    return exit_status::completed;
}

EndHook set_end_hook(EndHook hook) {
    return std::exchange(end_hook(), std::move(hook));
}

void end_process(int status) {
    flush_status_window();
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    if (const EndHook& hook = end_hook()) hook(status);
    std::quick_exit(status);
}

}  // namespace platform
