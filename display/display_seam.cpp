#include "display/display_seam.h"

namespace display_seam {

Api& Current() {
    static Api api;
    return api;
}

}  // namespace display_seam
