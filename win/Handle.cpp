#include "win/Handle.h"

#include <commctrl.h>

namespace win {

void ImageListTraits::Close(Type h) noexcept { ::ImageList_Destroy(h); }

}  // namespace win
