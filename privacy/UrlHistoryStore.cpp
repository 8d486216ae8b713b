#include "privacy/UrlHistoryStore.h"

#include <windows.h>
#include <urlhist.h>

#include "win/ComInit.h"
#include "win/ComPtr.h"

namespace {

// The platform's URL history object and the interface that clears it.
constexpr CLSID kUrlHistoryClass = {0x3C374A40, 0xBAE4, 0x11CF, {0xBF, 0x7D, 0x00, 0xAA, 0x00, 0x69, 0x46, 0xEE}};
constexpr IID kUrlHistoryStg2 = {0xAFA0DC11, 0xC313, 0x11D0, {0x83, 0x1A, 0x00, 0xC0, 0x4F, 0xD5, 0xAE, 0x38}};

}  // namespace

bool ClearUrlHistoryStore() {
    win::ComInit com;
    win::ComPtr<IUrlHistoryStg2> store;
    if (FAILED(::CoCreateInstance(kUrlHistoryClass, nullptr, CLSCTX_INPROC_SERVER, kUrlHistoryStg2, store.PutVoid())) ||
        !store)
        return false;
    store->ClearHistory();
    return true;
}
