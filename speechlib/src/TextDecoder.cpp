#include "TextDecoder.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

namespace speechlib {

namespace {

// One iconv conversion descriptor, closed when it goes.
class IconvHandle {
public:
    IconvHandle(const char* from, const char* to) : m_handle(iconv_open(to, from)) {}
    ~IconvHandle() {
        if (isOpen()) {
            iconv_close(m_handle);
        }
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;

    [[nodiscard]] bool isOpen() const { return m_handle != reinterpret_cast<iconv_t>(-1); }
    [[nodiscard]] iconv_t get() const { return m_handle; }

private:
    iconv_t m_handle;
};

std::optional<std::string> convert(std::string_view bytes, const char* from) {
    IconvHandle handle(from, "UTF-8");
    if (!handle.isOpen()) {
        return std::nullopt;
    }
    std::string out(bytes.size() * 2 + 16, '\0');
    // iconv takes a non-const input pointer but never writes through it.
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    std::size_t written = 0;
    while (inLeft > 0) {
        char* outPtr = out.data() + written;
        std::size_t outLeft = out.size() - written;
        const std::size_t result = iconv(handle.get(), &in, &inLeft, &outPtr, &outLeft);
        written = out.size() - outLeft;
        if (result != static_cast<std::size_t>(-1)) {
            break;
        }
        if (errno != E2BIG) {
            return std::nullopt;  // EILSEQ or a character cut off at the end
        }
        out.resize(out.size() * 2);
    }
    out.resize(written);
    return out;
}

const char* iconvName(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Gb18030:
            return "GB18030";
        case TextEncoding::Big5:
            return "BIG5";
        case TextEncoding::Utf16Le:
            return "UTF-16LE";
        case TextEncoding::Utf8:
        case TextEncoding::Auto:
            return "UTF-8";
    }
    return "UTF-8";
}

std::string withoutByteOrderMark(std::string text) {
    constexpr std::string_view kMark = "\xEF\xBB\xBF";
    if (text.starts_with(kMark)) {
        text.erase(0, kMark.size());
    }
    return text;
}

}  // namespace

std::string_view boundedText(const char* text, std::uint32_t length, TextEncoding encoding) {
    if (text == nullptr) {
        return {};
    }
    if (encoding != TextEncoding::Utf16Le) {
        return {text, strnlen(text, length)};
    }
    std::size_t end = 0;
    while (end + 1 < length && (text[end] != '\0' || text[end + 1] != '\0')) {
        end += 2;
    }
    // An odd last byte stays in, so the decoder sees the cut-off character.
    if (end + 1 == length) {
        ++end;
    }
    return {text, end};
}

std::optional<std::string> decodeToUtf8(std::string_view bytes, TextEncoding encoding) {
    std::optional<std::string> text = convert(bytes, iconvName(encoding));
    if (!text && encoding == TextEncoding::Auto) {
        text = convert(bytes, iconvName(TextEncoding::Gb18030));
    }
    if (!text) {
        return std::nullopt;
    }
    return withoutByteOrderMark(std::move(*text));
}

}  // namespace speechlib
