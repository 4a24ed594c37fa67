// The dialog template parser: any input either parses or fails cleanly, and a font is present
// exactly when the style asks for one.

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/res/dialog_template.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto dialog = platform::res::ParseDialogTemplate(std::as_bytes(std::span(data, size)));
    if (!dialog) return 0;
    if (dialog->font.has_value() != ((dialog->style & platform::res::kDsSetFont) != 0)) {
        __builtin_trap();
    }
    std::size_t extra = 0;
    for (const platform::res::DialogItem& item : dialog->items) extra += item.creation_data.size();
    if (extra > size) __builtin_trap();
    return 0;
}
