#pragma once

namespace pos {

// The balance column of B_VIPCards as the local file must read it: the bills waiting
// there for upload have spent their card amounts (CardAmount3), which the downloaded
// balance does not know of yet. Online the server's Amount already holds them.
inline constexpr const char* kLocalCardBalance =
    "coalesce(Amount,0)-(select coalesce(sum(w.CardAmount3),0) from PosBill w where w.InsiderCode=B_VIPCards.CardNo) "
    "as Amount";

}  // namespace pos
