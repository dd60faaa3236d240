// Commands of the extended UI, page-control, visual-style and application-
// interface libraries: status bar pane texts, page titles, the themed look
// and opening a document or address with the desktop's default handler.
#pragma once

#include <QUrl>
#include <cstdint>
#include <functional>

#include "runtime/commands.h"

namespace tavrin::form_commands {

// status bar, int pane, [optional] text → none; a pane outside the list does nothing.
void StatusSetText(Value* result, int32_t argc, const Value* argv);
// page control, int page → text (empty outside the pages).
void PageTitle(Value* result, int32_t argc, const Value* argv);
// int style → int: 1 to 3 switch the themed look on (after switching it off
// first), anything else switches it off. The result is 1 when the look is on.
void SetVisualStyle(Value* result, int32_t argc, const Value* argv);
// text address → none: an address with a scheme ("http://...") or a file name
// (GBK, relative to the current directory) opened by the desktop.
void OpenDocument(Value* result, int32_t argc, const Value* argv);

// The address OpenDocument hands over, as a URL.
QUrl DocumentUrl(std::string_view gbkAddress);
// Replaces the opener (QDesktopServices::openUrl by default; an empty function
// restores it). Tests install one that records the URL.
using DocumentOpener = std::function<bool(const QUrl&)>;
void SetDocumentOpener(DocumentOpener opener);

}  // namespace tavrin::form_commands
