#pragma once

#include "base/clock.h"
#include "base/error_log.h"
#include "base/person.h"
#include "base/pos_state.h"
#include "config/data_module.h"

namespace pos {

// Sends every bill waiting in the local file to the server through the ordinary save
// (keeping its number, with its stock, member card and coupon bookings) and deletes the
// local copy once the server holds it; online only. Bills go in rounds: one statement
// checks a round's numbers on the server, and the bills it lacks are sent in one round
// trip, each still a server transaction of its own. A bill the server already holds
// under its number (the local delete or the answer to a save got lost) is deleted
// locally unsent; a different bill under that number leaves the local one waiting and
// is told each time. A bill that fails stays for the next upload. A connection lost
// during the sending is opened again and asked what arrived, and the rest is sent once
// more; any other error of the server (the check losing the connection, a second loss,
// a server that cannot be asked) ends the upload and reaches the caller. The cashier's
// messages are Chinese; an engine's text goes to `log`. A card the bills took below zero
// and a coupon they spent twice are told and logged for the shop to follow up.
void UploadOfflineBills(TDM& dm, const TPosState& state, Person& person, const Clock& clock, ErrorLog& log);

}  // namespace pos
