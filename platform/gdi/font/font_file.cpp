#include "platform/gdi/font/font_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform::gdi::font_detail {

std::unique_ptr<FontFile> FontFile::Open(const std::string& path) {
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) return nullptr;
    struct stat status;
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size <= 0) {
        close(descriptor);
        return nullptr;
    }
    return std::make_unique<FontFile>(descriptor, static_cast<unsigned long>(status.st_size));
}

FontFile::FontFile(int descriptor, unsigned long size) : descriptor_(descriptor) {
    stream_.size = size;
    stream_.descriptor.pointer = this;
    stream_.read = Read;
}

FontFile::~FontFile() {
    close(descriptor_);
}

FT_Open_Args FontFile::Arguments() {
    FT_Open_Args arguments{};
    arguments.flags = FT_OPEN_STREAM;
    arguments.stream = &stream_;
    return arguments;
}

// FreeType's contract: a count of 0 is a seek, answered 0 when the offset lies in the file;
// otherwise the number of bytes read, fewer only at the end of the file or on an error.
unsigned long FontFile::Read(FT_Stream stream, unsigned long offset, unsigned char* buffer,
                             unsigned long count) {
    const auto* file = static_cast<const FontFile*>(stream->descriptor.pointer);
    if (count == 0) return offset <= stream->size ? 0 : 1;
    unsigned long done = 0;
    while (done < count && offset + done < stream->size) {
        const ssize_t got = pread(file->descriptor_, buffer + done, count - done,
                                  static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += static_cast<unsigned long>(got);
    }
    return done;
}

}  // namespace platform::gdi::font_detail
