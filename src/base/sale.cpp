#include "base/sale.h"

namespace pos {

Sale Sale::next() const
{
    Sale sale;
    sale.bill = bill.emptyLike();
    sale.bill.master.append();
    sale.previous = previous;
    return sale;
}

}  // namespace pos
