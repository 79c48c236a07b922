#pragma once
// The stripMetadata tool for images and PDFs: a copy named "<stem> 정보삭제.<ext>" beside the
// source without location, camera, author and similar information. The source is never
// changed; a failure leaves nothing beside it.

#include <filesystem>
#include <string_view>

#include "convert/ToolResult.h"
#include "menu/Formats.h"

namespace tavrino {

// JPEG, PNG, TIFF, HEIF and GIF keep their encoded image data byte for byte and carry only the
// orientation afterwards (LosslessStrip.h); the format is read from the content, the
// extension is the source's own as written (`fallbackExtension` when it has none). A BMP has
// no metadata container and is decoded and written again, pixel for pixel, with the note
// "다시 저장(무손실)". Throws ConvertError:
//   "이미지로 읽을 수 없음"            the file is not a well-formed image of a known format
//   "쓰기 지원 안 됨"                  an image format whose metadata cannot be removed here
//   "정보 삭제 실패: " + reason        the copy cannot be written
// and loadImage's errors for a BMP.
ToolResult stripImageMetadata(const std::filesystem::path& path,
                              std::string_view fallbackExtension);

// Removes the document information dictionary and the document's XMP metadata stream (which
// repeats author, title and dates for readers that prefer XMP). Pages, fonts and streams are
// copied as they are. Throws ConvertError "PDF를 열 수 없음" or "PDF 저장 실패".
ToolResult stripPDFInfo(const std::filesystem::path& path);

// A Word (kind docx) or HWPX document (any other kind) without its author, last editor,
// dates, title, subject, keywords, company and custom properties, and without the names of
// the people who commented or tracked changes; text and layout parts are left byte for byte.
// The note is "정보 N개 지움", or "지울 정보 없음" when nothing was there. Throws the
// runner's errors of unzip and zip, ConvertError "정보를 지운 파일을 다시 열지 못해 내놓지
// 않음 — " + cause when wordbridge cannot open the result (nothing is written then), and
// "정보 삭제 실패: ..." for a package holding links or a part that cannot be written back.
ToolResult stripDocumentInfo(const std::filesystem::path& path, FileKind kind);

}  // namespace tavrino
