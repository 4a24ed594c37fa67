#include "platform/res/dialog_template.h"

#include "platform/res/byte_reader.h"

namespace platform::res {

namespace {

// The first DWORD of an extended template: version 1, then signature 0xFFFF.
constexpr std::uint32_t kExtendedSignature = 0xFFFF0001;

std::optional<DialogItem> ReadItem(detail::ByteReader& r) {
    // Items start on a DWORD boundary from the start of the template.
    r.AlignTo4();
    const auto style = r.U32();
    const auto ex_style = r.U32();
    const auto x = r.I16();
    const auto y = r.I16();
    const auto cx = r.I16();
    const auto cy = r.I16();
    const auto id = r.U16();
    if (!style || !ex_style || !x || !y || !cx || !cy || !id) return std::nullopt;
    auto window_class = r.NameOrOrdinal();
    if (!window_class) return std::nullopt;
    auto title = r.NameOrOrdinal();
    if (!title) return std::nullopt;
    const auto creation_size = r.U16();
    if (!creation_size) return std::nullopt;
    const auto creation_data = r.Bytes(*creation_size);
    if (!creation_data) return std::nullopt;
    return DialogItem{*style,
                      *ex_style,
                      *x,
                      *y,
                      *cx,
                      *cy,
                      *id,
                      std::move(*window_class),
                      std::move(*title),
                      {creation_data->begin(), creation_data->end()}};
}

}  // namespace

std::optional<DialogTemplate> ParseDialogTemplate(std::span<const std::byte> bytes) {
    detail::ByteReader r(bytes);
    const auto style = r.U32();
    if (!style || *style == kExtendedSignature) return std::nullopt;
    const auto ex_style = r.U32();
    const auto count = r.U16();
    const auto x = r.I16();
    const auto y = r.I16();
    const auto cx = r.I16();
    const auto cy = r.I16();
    if (!ex_style || !count || !x || !y || !cx || !cy) return std::nullopt;

    DialogTemplate dialog{*style, *ex_style, *x, *y, *cx, *cy};
    auto menu = r.NameOrOrdinal();
    if (!menu) return std::nullopt;
    auto window_class = r.NameOrOrdinal();
    if (!window_class) return std::nullopt;
    auto title = r.String();
    if (!title) return std::nullopt;
    dialog.menu = std::move(*menu);
    dialog.window_class = std::move(*window_class);
    dialog.title = std::move(*title);

    if (*style & kDsSetFont) {
        const auto point_size = r.U16();
        if (!point_size) return std::nullopt;
        auto face = r.String();
        if (!face) return std::nullopt;
        dialog.font = DialogFont{*point_size, std::move(*face)};
    }

    for (std::uint16_t i = 0; i < *count; ++i) {
        auto item = ReadItem(r);
        if (!item) return std::nullopt;
        dialog.items.push_back(std::move(*item));
    }
    return dialog;
}

}  // namespace platform::res
