#pragma once
// How clipboard content (format numbers and bytes) meets the desktop's MIME types, one mapping
// for the clipboard and for drag and drop alike, with no toolkit in it.
//
// Going out: text as text/plain;charset=utf-8; "HTML Format" as text/html (the document its
// header points at); "Rich Text Format" as text/rtf and application/rtf; files (CF_HDROP) and
// "UniformResourceLocator" as text/uri-list; bitmaps as image/bmp, metafiles as image/x-emf and
// image/x-wmf; and every registered format under application/x-clipboard-format;name="...", so
// that another program of ours gets the exact bytes.
// Coming in, the reverse, a registered type of ours taking precedence over the same data mapped
// from a desktop type. One type of more than kDesktopTypeLimit bytes is not mapped (the debug log
// names it); its registered type, if any, still arrives as it is.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/ui/backend/ClipboardService.h"

namespace ui {

struct DesktopPart {
    std::string Type;  // a MIME type
    std::vector<uint8_t> Bytes;
};
using DesktopContent = std::vector<DesktopPart>;

inline constexpr size_t kDesktopTypeLimit = size_t{64} << 20;
inline constexpr const char* kDesktopTextType = "text/plain;charset=utf-8";

DesktopContent DesktopContentOf(const ClipboardContent& content);
ClipboardContent ClipboardContentOf(const DesktopContent& parts);

// Whether the content holds something another program understands (more than registered
// formats of ours): what a drag needs to leave the program.
bool CrossesToDesktop(const ClipboardContent& content);

// The MIME type that carries a registered format by its name, and the name back (empty when the
// type is no such type).
std::string RegisteredFormatType(const String& name);
String RegisteredFormatName(const std::string& type);

// A CF_HDROP block with wide names (its point at (0, 0)), and the names of any CF_HDROP block.
std::vector<uint8_t> DropFilesBlock(const std::vector<String>& files);
std::vector<String> DroppedFiles(const std::vector<uint8_t>& block);

// The "HTML Format" block for a document: the version line and the four 8-digit byte offsets,
// each line ended by CR LF, then the document as UTF-8. The fragment is what lies between the
// fragment markers when both are there, else the body's content, else the whole document. Empty
// when the document is.
std::vector<uint8_t> HtmlFormatOf(const std::string& utf8Document);

}  // namespace ui
