#include "register/statement_preparation.h"

#include "access/access_statements.h"
#include "config/config_statements.h"
#include "payment/payment_statements.h"
#include "members/member_statements.h"
#include "pricing/pricing_statements.h"
#include "queries/member_totals.h"
#include "queries/shift_takings.h"
#include "queries/bill_browser.h"
#include "queries/stock_query.h"
#include "register/register_statements.h"
#include "storage/download_statements.h"
#include "storage/held_bill_statements.h"
#include "storage/numbering_statements.h"
#include "storage/sale_statements.h"
#include "storage/upload_statements.h"

namespace pos {
namespace {

template <class... Sets>
void prepareAll(Database& db)
{
    (db.statements<Sets>().prepare(), ...);
}

}  // namespace

void prepareServerStatements(Database& accountSet)
{
    prepareAll<ServerStatements, AccessStatements, PricingStatements, SaleStatements, DownloadStatements,
               UploadStatements, RegisterStatements, PaymentStatements, TakingsStatements,
               MemberTotalsStatements, BillBrowserStatements,
               StockQueryStatements, MemberStatements>(accountSet);
}

void prepareLocalStatements(Database& local)
{
    prepareAll<AccessStatements, PricingStatements, SaleStatements, NumberingStatements, UploadStatements,
               RegisterStatements, HeldBillStatements, PaymentStatements, TakingsStatements,
               MemberTotalsStatements, BillBrowserStatements,
               StockQueryStatements, MemberStatements>(local);
}

}  // namespace pos
