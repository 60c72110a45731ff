#pragma once
// Coming to rest in the skin's Windows tests that run the skin manager: its commands (a skin turned on or off,
// a new skin file) run on its timer, so the rest waits for the pending command as well.
#include "testsupport/SkinSettle.h"
#include "skin/manager/win/SkinManage.h"

namespace kes::test {

inline bool SettleSkins(DWORD timeoutMs = 5000) {
    return Settle([] { return SkinManage() && SkinManage()->CommandSkin(); }, timeoutMs);
}

}  // namespace kes::test
