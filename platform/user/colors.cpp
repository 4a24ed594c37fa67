#include "platform/user/colors.h"

namespace platform::user {

gdi::Pixel SystemColor(int index) {
    using gdi::Rgb;
    switch (index) {
        case COLOR_SCROLLBAR:
            return Rgb(212, 208, 200);
        case COLOR_BACKGROUND:
            return Rgb(58, 110, 165);
        case COLOR_ACTIVECAPTION:
            return Rgb(10, 36, 106);
        case COLOR_INACTIVECAPTION:
            return Rgb(128, 128, 128);
        case COLOR_MENU:
            return Rgb(212, 208, 200);
        case COLOR_WINDOW:
            return Rgb(255, 255, 255);
        case COLOR_WINDOWFRAME:
            return Rgb(0, 0, 0);
        case COLOR_MENUTEXT:
            return Rgb(0, 0, 0);
        case COLOR_WINDOWTEXT:
            return Rgb(0, 0, 0);
        case COLOR_CAPTIONTEXT:
            return Rgb(255, 255, 255);
        case COLOR_ACTIVEBORDER:
            return Rgb(212, 208, 200);
        case COLOR_INACTIVEBORDER:
            return Rgb(212, 208, 200);
        case COLOR_APPWORKSPACE:
            return Rgb(128, 128, 128);
        case COLOR_HIGHLIGHT:
            return Rgb(10, 36, 106);
        case COLOR_HIGHLIGHTTEXT:
            return Rgb(255, 255, 255);
        case COLOR_BTNFACE:
            return Rgb(212, 208, 200);
        case COLOR_BTNSHADOW:
            return Rgb(128, 128, 128);
        case COLOR_GRAYTEXT:
            return Rgb(128, 128, 128);
        case COLOR_BTNTEXT:
            return Rgb(0, 0, 0);
        case COLOR_INACTIVECAPTIONTEXT:
            return Rgb(212, 208, 200);
        case COLOR_BTNHIGHLIGHT:
            return Rgb(255, 255, 255);
        case COLOR_3DDKSHADOW:
            return Rgb(64, 64, 64);
        case COLOR_3DLIGHT:
            return Rgb(212, 208, 200);
        case COLOR_GRADIENTACTIVECAPTION:
            return Rgb(166, 202, 240);
        case COLOR_GRADIENTINACTIVECAPTION:
            return Rgb(192, 192, 192);
        default:
            return Rgb(0, 0, 0);
    }
}

}  // namespace platform::user
