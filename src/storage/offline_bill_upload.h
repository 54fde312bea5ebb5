#pragma once

#include "base/clock.h"
#include "base/person.h"
#include "base/pos_state.h"
#include "config/data_module.h"

namespace pos {

// Sends every bill waiting in the local file to the server through the ordinary save
// (keeping its number, with its stock, member card and coupon bookings) and deletes the
// local copy once the server holds it; online only. A bill the server already holds
// under its number (the local delete or the answer to a save got lost) is deleted
// locally unsent; a different bill under that number leaves the local one waiting and
// is told each time. A bill that fails stays for the next upload; an error other than a
// failed save (the server check losing the connection) ends the upload and reaches the
// caller.
void UploadOfflineBills(TDM& dm, const TPosState& state, Person& person, const Clock& clock);

}  // namespace pos
