#include "platform/fault_injection.h"

namespace plat {
namespace detail {
FaultHook g_faultHook = nullptr;
}
void SetFaultHook(FaultHook hook) { detail::g_faultHook = hook; }
}  // namespace plat
