#include "storage/bill_saving.h"

#include "base/number_format.h"
#include "db/row_copy.h"
#include "pricing/bill_arithmetic.h"
#include "storage/bill_numbering.h"
#include "storage/coupon_list.h"
#include "storage/upload_statements.h"

#include <map>
#include <optional>
#include <string>
#include <utility>

namespace pos {
namespace {

// The checks before anything is written or a number taken; the first failure is shown.
bool passesChecks(Person& person, const Bill& bill)
{
    if (bill.master.size() != 1) {
        person.message("主表记录只能有一条记录！", "", MessageIcon::Error);
        return false;
    }
    if (bill.storeId().toInt() == 0) {
        person.message("此单没有选择销售仓库！请选择销售仓库。", "错误", MessageIcon::Error);
        return false;
    }
    if (bill.operatorId().toInt() == 0) {
        person.message("保存失败！原因：收银员为空。", "", MessageIcon::Error);
        return false;
    }
    return true;
}

void writeNumber(Bill& bill, const std::string& number)
{
    bill.billNo() = number;
    for (std::size_t line = 0; line < bill.detail.size(); ++line)
        bill.line(line).billNo() = number;
}

bool hasCard(const Bill& bill) { return !bill.insiderCode().toString().empty(); }

// A stored-value amount is booked against the bill's card: without one the bill would be
// paid by nobody's card.
bool storedValueHasCard(Person& person, const Bill& bill)
{
    if (bill.cardAmount3().toDouble() == 0 || hasCard(bill))
        return true;
    person.message("保存失败！原因：此单有储值卡支付金额，却没有会员卡号。", "", MessageIcon::Error);
    return false;
}

void saveLocally(SaleStatements& local, const Bill& bill)
{
    Transaction transaction(local.database());
    local.billCopy(bill.master.columns()).insertAll(bill.master);
    local.lineCopy(bill.detail.columns()).insertAll(bill.detail);
    transaction.commit();
}

PgDatabase& serverConnection(SaleStatements& server)
{
    auto* connection = dynamic_cast<PgDatabase*>(&server.database());
    if (!connection)
        throw DbError("the online save needs the server connection");
    return *connection;
}

// A tender of the bill that the server no longer honours; the save is refused with the
// message, before anything of the bill is written.
class TenderRefused : public PosError {
public:
    using PosError::PosError;
};

void refuseUsedCoupons(SaleStatements& server, const Bill& bill)
{
    const std::optional<SqlStatement> lock = usedCouponsLocked(bill.cardNo().toString());
    if (!lock)
        return;
    for (const LockedCoupon& coupon : readLockedCoupons(server.database().query(lock->sql, lock->params)))
        if (coupon.used)
            throw TenderRefused("购物券" + coupon.ticketNo
                                + "已在其他收银台消费，不能再次消费！请改用其他方式付款。");
}

// Takes the payment off the card only while its balance on the server covers it: another
// terminal may have spent from the card since it was read.
void bookStoredValuePayment(SaleStatements& server, const Bill& bill, double points)
{
    const Value cardNo = bill.insiderCode();
    if (server.storedValueCardPayment.execute({bill.cardAmount3().toDouble(), bill.realAmount().toDouble(), points,
                                               cardNo})
        == 0
        && !server.cardExists.query({cardNo}).empty())
        throw TenderRefused("储值卡" + cardNo.toString() + "的卡内余额不够支付本单！余额已在其他收银台变动，"
                            "请重新结算。");
}

// At checkout the tenders are checked under lock first; an uploaded bill is a sale
// already made and is booked as it stands.
void saveOnServer(SaleStatements& server, const Bill& bill, MemberCardKind cardKind, double points, bool atCheckout)
{
    PgDatabase& connection = serverConnection(server);
    Transaction transaction(connection);
    const bool checkedPayment = atCheckout && cardKind == MemberCardKind::StoredValue && hasCard(bill);
    if (atCheckout) {
        refuseUsedCoupons(server, bill);
        if (checkedPayment)
            bookStoredValuePayment(server, bill, points);
    }
    runPipelined(connection, serverSaveStatements(server, bill, cardKind, points, !checkedPayment));
    transaction.commit();
}

// What the server holds under a bill's number after the connection broke.
enum class OnServer { ThisBill, NoBill, OtherBill, Unknown };

// After the connection broke while bills were sent, when only the answers (to COMMIT,
// to a synchronisation point) may have been lost: opens the connection again, ends the
// broken session, so that a commit still on its way can no longer land after the
// look-up, and compares what the server holds under each number with the bill: another
// sale under the number means this one is not there. Empty when the server cannot be
// asked.
std::optional<std::vector<OnServer>> lookUpAfterLoss(SaleStatements& server, Person& person, int brokenSession,
                                                     const std::vector<const Bill*>& bills)
{
    PgDatabase& connection = serverConnection(server);
    auto wait = person.pleaseWait("正在核对单据是否已保存到服务器，请稍候...");
    try {
        if (!connection.reopen())
            return std::nullopt;
        server.endSession.query({brokenSession});
        std::vector<std::string> numbers;
        for (const Bill* bill : bills)
            numbers.push_back(bill->billNo().toString());
        const std::map<std::string, ServerCopy> copies =
            readServerCopies(connection.statements<UploadStatements>(), numbers);
        std::vector<OnServer> held;
        for (const Bill* bill : bills) {
            const auto copy = copies.find(bill->billNo().toString());
            held.push_back(copy == copies.end()           ? OnServer::NoBill
                           : sameBill(copy->second, *bill) ? OnServer::ThisBill
                                                           : OnServer::OtherBill);
        }
        return held;
    } catch (const DbError&) {
        return std::nullopt;
    }
}

OnServer lookUpAfterLoss(SaleStatements& server, Person& person, int brokenSession, const Bill& bill)
{
    const std::optional<std::vector<OnServer>> held = lookUpAfterLoss(server, person, brokenSession, {&bill});
    return held ? held->front() : OnServer::Unknown;
}

// What became of a transaction whose answer was lost, by what the server holds under the
// bill's number.
TransactionOutcome outcomeOf(OnServer held)
{
    switch (held) {
    case OnServer::ThisBill:
        return TransactionOutcome::Committed;  // only the answer was lost
    case OnServer::OtherBill:
        return TransactionOutcome::Failed;  // sending it again could only clash with that sale
    case OnServer::NoBill:
    case OnServer::Unknown:
        break;
    }
    return TransactionOutcome::Unanswered;
}

// Whether the server holds the bill cannot be found out: the bill waits in the local file
// under its number like a bill saved offline, and the upload, which sends only what the
// server does not have, decides. The sale is complete either way, so nothing can save it
// a second time. When the local file fails too, the bill keeps its number and stays in
// doubt: no counter moves, and the next save asks the server about that number first.
SaveBillResult keepForUpload(SaleStatements& local, Person& person, Bill& bill, int brokenSession)
{
    const std::string billNo = bill.billNo().toString();
    try {
        saveLocally(local, bill);
    } catch (const DbError& error) {
        bill.saveInDoubt = SaveInDoubt{billNo, brokenSession};
        person.message("网络故障，无法确认单据是否已保存到服务器，本机也无法保存此单：" + std::string(error.what())
                           + "\r\n单据仍为原单号" + billNo
                           + "，可能已经收款成功，请不要重复收款！请排除故障后再次结算，系统将先向服务器核对此单号。",
                       "错误", MessageIcon::Error);
        return BillOutcomeUnknown;
    }
    person.message("网络故障，无法确认单据是否已保存到服务器！单据已按原单号" + billNo
                       + "保存在本机，上传时由服务器核对，请不要重复收款。",
                   "提示", MessageIcon::Information);
    return BillSavedLocally;
}

// After a failed save: a number that may already exist on the server is never offered
// again.
void reportFailure(Person& person, BillNumbering& numbering)
{
    try {
        numbering.dayRoll();
    } catch (const DbError&) {
        // the local file failed as well; the cashier is told the save failed all the same
    }
    person.message("单据保存失败！可能已存在相同的单号。请删除该单后，重新输入。", "提示", MessageIcon::Error);
}

}  // namespace

std::vector<UploadedBillResult> SaveUploadedBills(SaleStatements& server, BillNumbering& numbering, Person& person,
                                                  const TPosState& state, const std::vector<Bill>& bills,
                                                  const std::vector<CardAccount>& cards, std::string& lostConnection)
{
    std::vector<UploadedBillResult> results(bills.size(), UploadedBillResult::Unsettled);
    std::vector<std::size_t> toSend;
    for (std::size_t i = 0; i < bills.size(); ++i) {
        if (passesChecks(person, bills[i]))
            toSend.push_back(i);
        else
            results[i] = UploadedBillResult::NotSaved;
    }
    // Booked, refused, or (unanswered) to be sent again.
    const auto settle = [&](std::size_t i, TransactionOutcome outcome, std::vector<std::size_t>& resend) {
        switch (outcome) {
        case TransactionOutcome::Committed:
            results[i] = UploadedBillResult::Saved;
            break;
        case TransactionOutcome::Failed:
            reportFailure(person, numbering);
            results[i] = UploadedBillResult::NotSaved;
            break;
        case TransactionOutcome::Unanswered:
            resend.push_back(i);
            break;
        }
    };
    // A bill lost with the connection is sent once more on the new one; the second loss
    // ends the upload.
    for (int attempt = 0; attempt < 2 && !toSend.empty(); ++attempt) {
        std::vector<std::vector<SqlStatement>> transactions;
        for (std::size_t i : toSend) {
            const Bill& bill = bills[i];
            const double points = BillPoints(bill.realAmount().toDouble(), cards[i].noPointAmount, state.PointRate);
            transactions.push_back(serverSaveStatements(server, bill, cards[i].cardKind, points));
        }
        PgDatabase& connection = serverConnection(server);
        const int session = connection.backendPid();
        const PipelinedTransactions sent = runTransactionsPipelined(connection, transactions);
        std::vector<std::size_t> unanswered;
        for (std::size_t k = 0; k < toSend.size(); ++k)
            settle(toSend[k], sent.answers[k].outcome, unanswered);
        toSend.clear();
        if (unanswered.empty())
            break;
        lostConnection = sent.lostConnection;
        std::vector<const Bill*> asked;
        for (std::size_t i : unanswered)
            asked.push_back(&bills[i]);
        const std::optional<std::vector<OnServer>> held = lookUpAfterLoss(server, person, session, asked);
        if (!held)
            break;
        for (std::size_t k = 0; k < unanswered.size(); ++k)
            settle(unanswered[k], outcomeOf((*held)[k]), toSend);
        if (toSend.empty())
            lostConnection.clear();
    }
    return results;
}

std::vector<SqlStatement> serverSaveStatements(SaleStatements& server, const Bill& bill, MemberCardKind cardKind,
                                               double points, bool cardBooking)
{
    std::vector<SqlStatement> statements;
    RowCopy& master = server.billCopy(bill.master.columns());
    statements.push_back({master.statement(), master.parameters(bill.master.row(0))});
    RowCopy& lines = server.lineCopy(bill.detail.columns());
    for (std::size_t line = 0; line < bill.detail.size(); ++line)
        statements.push_back({lines.statement(), lines.parameters(bill.detail.row(line))});

    const Value storeId = bill.storeId();
    for (std::size_t line = 0; line < bill.detail.size(); ++line)
        statements.push_back({server.updateStock.sql(),
                              {bill.line(line).goodsId(), storeId,
                               twoDecimals(-bill.line(line).quantity().toDouble())}});

    if (cardBooking && hasCard(bill)) {
        const Value cardNo = bill.insiderCode();
        const double realAmount = bill.realAmount().toDouble();
        if (cardKind == MemberCardKind::StoredValue)
            statements.push_back({server.storedValueCardBooking.sql(),
                                  {bill.cardAmount3().toDouble(), realAmount, points, cardNo}});
        else
            statements.push_back({server.ordinaryCardBooking.sql(), {realAmount, points, cardNo}});
    }

    if (auto marking = couponMarking(bill.cardNo().toString()))
        statements.push_back(std::move(*marking));
    return statements;
}

CardAccount cardOf(const Sale& sale) { return CardAccount{sale.member.VIPCardKind, sale.totals.NoPointAmount}; }

SaveOutcome SaveBill(SaleStatements& sql, SaleStatements& local, BillNumbering& numbering, Person& person,
                        const TPosState& state, Bill& bill, bool keepNumber, const CardAccount& card)
{
    if (!passesChecks(person, bill) || !storedValueHasCard(person, bill))
        return BillNotSaved;
    try {
        const std::optional<SaveInDoubt> doubt = std::exchange(bill.saveInDoubt, std::nullopt);
        if (doubt)
            writeNumber(bill, doubt->billNo);
        else if (!keepNumber)
            writeNumber(bill, numbering.take(state.MachineCode));
        if (state.NetMode != Online) {
            if (doubt)
                return keepForUpload(sql, person, bill, doubt->serverSession);
            saveLocally(sql, bill);
            return BillSavedLocally;
        }
        const double points = BillPoints(bill.realAmount().toDouble(), card.noPointAmount, state.PointRate);
        const OnServer earlier =
            doubt ? lookUpAfterLoss(sql, person, doubt->serverSession, bill) : OnServer::NoBill;
        if (earlier == OnServer::Unknown)
            return keepForUpload(local, person, bill, doubt->serverSession);
        if (earlier == OnServer::OtherBill) {
            // the number belongs to another sale: this one was never stored
            reportFailure(person, numbering);
            return BillNotSaved;
        }
        if (earlier == OnServer::NoBill) {
            const int session = serverConnection(sql).backendPid();
            try {
                saveOnServer(sql, bill, card.cardKind, points, !keepNumber);
            } catch (const DbError& error) {
                if (!error.isNetworkFailure())
                    throw;
                switch (lookUpAfterLoss(sql, person, session, bill)) {
                case OnServer::NoBill:
                case OnServer::OtherBill:  // another sale holds the number: this one is not saved
                    throw;
                case OnServer::Unknown:
                    // An uploaded bill already waits in the local file: it stays there for
                    // the next upload's check, with no day roll and no talk of duplicates.
                    if (keepNumber)
                        return BillNotSaved;
                    return keepForUpload(local, person, bill, session);
                case OnServer::ThisBill:
                    break;  // only the answer was lost: the sale is complete
                }
            }
        }
        // Only a stored bill raises the member's points, so a failed try cannot count twice.
        return SaveOutcome(BillSavedOnServer, hasCard(bill) ? points : 0);
    } catch (const TenderRefused& refusal) {
        person.message(refusal.what(), "提示", MessageIcon::Error);
        return BillTenderRefused;
    } catch (const BillNumberError& e) {
        // Nothing was written under any number: no day roll, and no talk of duplicates.
        person.message(std::string("单据保存失败！无法从本地数据库取得单号：") + e.what(), "提示", MessageIcon::Error);
        return BillNotSaved;
    } catch (const DbError&) {
        reportFailure(person, numbering);
        return BillNotSaved;
    }
}

}  // namespace pos
