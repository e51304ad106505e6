// Reading and writing text files.
//
// Files from the Windows program and from time recorders are in the Japanese
// Windows code page (CP932); our own files are UTF-8; some programs write
// UTF-16 with a byte-order mark. Reading takes UTF-16 when the bytes start
// with its byte-order mark, else UTF-8 when they are valid UTF-8 (a UTF-8
// byte-order mark is dropped), else CP932. Writing always writes UTF-8.
//
// Failures raise FileError with a Japanese message naming the file.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rtl {

enum class TextEncoding { Utf8, Cp932, Utf16 };

// CP932 bytes -> UTF-8 (glibc iconv). A byte sequence that is not CP932
// becomes U+FFFD and decoding goes on.
std::string cp932ToUtf8(std::string_view bytes);
// UTF-8 -> CP932 bytes; a character CP932 lacks becomes '?'.
std::string utf8ToCp932(std::string_view text);
// UTF-8 -> CP932 bytes, or nothing when a character has no CP932 form;
// `missing` then receives the first such character (UTF-8).
std::optional<std::string> utf8ToCp932Exact(std::string_view text, std::string* missing = nullptr);
// UTF-16 bytes (little or big endian, the byte-order mark removed) -> UTF-8.
// Code units that are no character become U+FFFD.
std::string utf16ToUtf8(std::string_view bytes, bool bigEndian);
// UTF-16 after a byte-order mark (FF FE or FE FF), else UTF-8 when valid
// (BOM dropped), else CP932. `detected` receives the choice.
std::string decodeText(std::string_view bytes, TextEncoding* detected = nullptr);

// Splits text into lines at CR LF, LF or CR. A line end after the last line
// does not add an empty line; "" gives no lines.
std::vector<std::string> splitLines(std::string_view text);
// The same lines as views into `text` (which must outlive them): no copy of
// a file's lines where they are only read once.
std::vector<std::string_view> splitLineViews(std::string_view text);

// Whole file, decoded to UTF-8.
std::string readTextFile(const std::filesystem::path& path, TextEncoding* detected = nullptr);
// All lines of the file.
std::vector<std::string> readAllLines(const std::filesystem::path& path);
// At most `maxLines` first lines.
std::vector<std::string> readLines(const std::filesystem::path& path, std::size_t maxLines);
// The first line ("" for an empty file).
std::string readFirstLine(const std::filesystem::path& path);

inline constexpr std::string_view CRLF = "\r\n";

// Writes `text` as UTF-8, replacing the file. The bytes go to a temporary
// file beside the target first, which then replaces it, so a failed write
// never leaves a half-written file behind.
void writeTextFile(const std::filesystem::path& path, std::string_view text);
// Each line followed by `lineEnd` (the last one too).
void writeLines(const std::filesystem::path& path, const std::vector<std::string>& lines,
                std::string_view lineEnd = CRLF);

}  // namespace rtl
