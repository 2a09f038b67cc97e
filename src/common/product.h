#pragma once
// Names the program is known by: in message titles, the configuration file name and
// the per-user settings store.

namespace zq {

/// The product name: "zel_QUIRNOVA.CFG", "zel_QUIRNOVA: Errore non previsto." …
inline constexpr const char* kProductName = "zel_QUIRNOVA";
/// The application title: the settings store's application name and the title of
/// message boxes that name none.
inline constexpr const char* kAppTitle = "zel_QUIRNOVA";
/// The main window's caption.
inline constexpr const char* kMainCaption = "Zel Quirnova - Utility TARV / QUIRNOVA";

}  // namespace zq
