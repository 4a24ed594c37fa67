// Writes the fuzzers' starting inputs from the program's real resources: the compiled resource
// file whole, each resource of the types the readers take on its own, and the game's texts in
// code page 932 (and in UTF-8, for the converters that read UTF-8).
//
// usage: fuzz_seed_tool APP_RES OUT_DIR GAME_SOURCE...

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/res/dialog_template.h"
#include "platform/res/res_file.h"
#include "platform/res/version_info.h"
#include "platform/text/encoding.h"

namespace {

namespace fs = std::filesystem;
using platform::res::Resource;
using platform::res::ResourceFile;
namespace resource_type = platform::res::resource_type;

std::optional<std::vector<std::byte>> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<char> chars{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<std::byte> bytes(chars.size());
    for (std::size_t i = 0; i < chars.size(); ++i) bytes[i] = static_cast<std::byte>(chars[i]);
    return bytes;
}

// Seeds are written read-only: the fuzzers grow corpora of their own and must never change them.
bool WriteFile(const fs::path& path, std::span<const std::byte> bytes) {
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out) return false;
    }
    std::error_code error;
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read,
                    error);
    return !error;
}

bool WriteText(const fs::path& path, std::string_view text) {
    return WriteFile(path, std::as_bytes(std::span(text.data(), text.size())));
}

std::string NameOf(const Resource& resource) {
    if (resource.name.ordinal) return std::to_string(*resource.name.ordinal);
    return platform::text::Utf16ToUtf8(resource.name.name);
}

// The string literals of a C++ source file outside preprocessor lines, escapes left as written:
// the game's texts carry none that matter here.
std::vector<std::string> StringLiterals(std::string_view source) {
    std::vector<std::string> literals;
    for (std::size_t pos = 0; (pos = source.find('"', pos)) != std::string_view::npos;) {
        const std::size_t end = source.find_first_of("\"\n", pos + 1);
        if (end == std::string_view::npos) break;
        const std::size_t line = source.rfind('\n', pos) + 1;  // npos + 1 is the first line
        const std::size_t first = source.find_first_not_of(" \t", line);
        if (source[end] == '"' && end > pos + 1 && source[first] != '#') {
            literals.emplace_back(source.substr(pos + 1, end - pos - 1));
        }
        pos = end + 1;
    }
    return literals;
}

// The texts a dialog or version resource holds: captions, font faces, version strings.
std::vector<std::u16string> ResourceTexts(const Resource& resource) {
    std::vector<std::u16string> texts;
    if (resource.type.Is(resource_type::kDialog)) {
        const auto dialog = platform::res::ParseDialogTemplate(resource.data);
        if (!dialog) return texts;
        texts.push_back(dialog->title);
        if (dialog->font) texts.push_back(dialog->font->face);
        for (const platform::res::DialogItem& item : dialog->items) {
            texts.push_back(item.title.name);
        }
    } else if (resource.type.Is(resource_type::kVersion)) {
        const auto info = platform::res::ParseVersionInfo(resource.data);
        if (!info) return texts;
        for (const platform::res::StringTable& table : info->string_tables) {
            for (const auto& [name, value] : table.strings) texts.push_back(value);
        }
    }
    std::erase_if(texts, [](const std::u16string& text) { return text.empty(); });
    return texts;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s APP_RES OUT_DIR GAME_SOURCE...\n", argv[0]);
        return 2;
    }
    const auto res_bytes = ReadFile(argv[1]);
    if (!res_bytes) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const ResourceFile file = ResourceFile::Parse(*res_bytes);
    if (file.Truncated() || file.All().empty()) {
        std::fprintf(stderr, "%s is not a well-formed resource file\n", argv[1]);
        return 1;
    }

    const fs::path out = argv[2];
    for (const char* dir : {"res", "dib", "dialog", "version", "text"}) {
        fs::create_directories(out / dir);
    }
    bool ok = WriteFile(out / "res" / "app.res", *res_bytes);

    std::set<std::string> texts;
    for (const Resource& resource : file.All()) {
        const std::string name = NameOf(resource) + ".bin";
        if (resource.type.Is(resource_type::kBitmap)) {
            ok &= WriteFile(out / "dib" / name, resource.data);
        } else if (resource.type.Is(resource_type::kDialog)) {
            ok &= WriteFile(out / "dialog" / name, resource.data);
        } else if (resource.type.Is(resource_type::kVersion)) {
            ok &= WriteFile(out / "version" / name, resource.data);
        } else {
            continue;
        }
        for (const std::u16string& text : ResourceTexts(resource)) {
            texts.insert(platform::text::Utf16ToUtf8(text));
        }
    }
    for (int i = 3; i < argc; ++i) {
        const auto source = ReadFile(argv[i]);
        if (!source) {
            std::fprintf(stderr, "cannot read %s\n", argv[i]);
            return 1;
        }
        const std::string_view chars(reinterpret_cast<const char*>(source->data()), source->size());
        for (std::string& literal : StringLiterals(chars)) texts.insert(std::move(literal));
    }

    std::size_t count = 0;
    for (const std::string& text : texts) {
        // ASCII-only texts read the same in both encodings; one copy of each is enough.
        const std::string cp932 = platform::text::Utf8ToCp932(text);
        const std::string index = std::to_string(count++);
        ok &= WriteText(out / "text" / ("cp932_" + index + ".txt"), cp932);
        if (cp932 != text) ok &= WriteText(out / "text" / ("utf8_" + index + ".txt"), text);
    }
    if (!ok) {
        std::fprintf(stderr, "cannot write the seeds under %s\n", argv[2]);
        return 1;
    }
    return 0;
}
