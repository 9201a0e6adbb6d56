// Result codes of the catalogue's own refusals.
//
// Catalogue operations return the engine's ErrorCodes (engine/errors.h): 0
// on success, otherwise the first failing engine code. A few refusals are
// the catalogue's own, with codes outside the engine's range; the user
// interface tests for them and shows its own message, or names them with
// DB_ResultName.
#pragma once

#include <string>

#include "engine/errors.h"

namespace tracklore {

using quill::ErrorCode;

// An attribute that rows still use cannot be deleted.
constexpr ErrorCode StillReferenced = static_cast<ErrorCode>(0x2001);
// Renaming an attribute that several rows use needs the user's consent.
constexpr ErrorCode NeedsConfirmation = static_cast<ErrorCode>(0x2002);
// A record cannot be given an empty name.
constexpr ErrorCode EmptyName = static_cast<ErrorCode>(0x2003);
// An album's list already holds a row at the largest position.
constexpr ErrorCode ListFull = static_cast<ErrorCode>(0x2004);
// An edit interrupted by a crash must be undone (DB_Recover) before the
// next one may begin.
constexpr ErrorCode NeedsRecovery = static_cast<ErrorCode>(0x2005);
// A search text without a letter or digit to search for.
constexpr ErrorCode EmptySearch = static_cast<ErrorCode>(0x2006);

// The display name of a catalogue or engine code.
const char* DB_ResultName(ErrorCode code);

// What a failure means to the user: for DiskFull "the disk is full", with
// ": N MB more are needed" when a rebuild measured what it lacked; for any
// other code its display name.
std::string DB_FailureText(ErrorCode code);

// How a failed step's message ends ("Delete failed; returned WriteFailed."):
// "returned" and the code's display name, or for a full disk its
// DB_FailureText.
std::string DB_ReturnedText(ErrorCode code);

}  // namespace tracklore
