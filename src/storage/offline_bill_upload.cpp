#include "storage/offline_bill_upload.h"

#include "base/trim.h"
#include "pricing/bill_arithmetic.h"
#include "storage/bill_saving.h"
#include "storage/upload_follow_up.h"
#include "storage/upload_statements.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace pos {
namespace {

// Bills sent per round trip: enough that the network's latency no longer counts, few
// enough that a round holds little memory and its server check stays one short statement.
constexpr std::size_t kBillsPerRound = 500;

// The member card side of each uploaded bill from the bill itself; the member on the
// screen is not touched (no points to raise). The kinds of all cards in one statement.
std::vector<CardAccount> cardsOfUploadedBills(UploadStatements& server, const std::vector<Bill>& bills,
                                              const TPosState& state)
{
    std::vector<std::string> cardNumbers;
    for (const Bill& bill : bills)
        if (const std::string cardNo = bill.insiderCode().toString(); !cardNo.empty())
            cardNumbers.push_back(cardNo);
    std::map<std::string, std::string> kinds;
    if (!cardNumbers.empty())
        kinds = readCardTypes(server, cardNumbers);
    std::vector<CardAccount> cards(bills.size());
    for (std::size_t i = 0; i < bills.size(); ++i) {
        cards[i].noPointAmount = NoPointAmountOf(bills[i], state);
        const auto card = kinds.find(bills[i].insiderCode().toString());
        if (card != kinds.end() && trimmed(card->second) == "储值卡")
            cards[i].cardKind = MemberCardKind::StoredValue;
    }
    return cards;
}

// Who uploads and where the engine's texts go: the cashier reads Chinese, pos.log keeps
// the rest.
struct Uploader {
    const TPosState& state;
    Person& person;
    const Clock& clock;
    ErrorLog& log;

    void logError(const std::string& error) const
    {
        log.write({clock.now().text(), state.OperatorCode, "上传单据", error});
    }
};

// The local copies of bills the server holds, in one local transaction. When that
// fails the bills stay: the next upload finds them on the server and deletes them
// without sending them again, so the cashier is only told.
void deleteLocally(UploadStatements& local, const Uploader& by, const std::vector<const Bill*>& bills)
{
    if (bills.empty())
        return;
    try {
        Transaction transaction(local.database());
        for (const Bill* bill : bills) {
            local.deleteBill.execute({bill->billNo()});
            local.deleteLines.execute({bill->billNo()});
        }
        transaction.commit();
    } catch (const DbError& e) {
        by.logError(std::string("已上传的单据未能从本机删除：") + e.what());
        by.person.message("已上传的单据未能从本机删除！\r\n单据已保存在服务器上，下次上传时会从本机清除，不会重复上传。",
                          "提示", MessageIcon::Information);
    }
}

// One round of the upload: the bills of these numbers checked on the server in one
// statement, those it lacks sent in one round trip, and the local copies of every bill
// the server holds deleted.
void uploadRound(TDM& dm, const Uploader& by, BillNumbering& numbering, UploadFollowUp& followUp,
                 const std::vector<Value>& numbers)
{
    const TPosState& state = by.state;
    Person& person = by.person;
    auto& local = dm.conClient().statements<UploadStatements>();
    auto& server = dm.conServer().statements<UploadStatements>();
    std::vector<std::string> numberTexts;
    for (const Value& billNo : numbers)
        numberTexts.push_back(billNo.toString());
    const std::map<std::string, ServerCopy> onServer = readServerCopies(server, numberTexts);

    std::vector<const Bill*> held;  // on the server: to delete locally
    std::vector<Bill> toSend;
    std::vector<Bill> alreadyThere;
    alreadyThere.reserve(numbers.size());
    for (const Value& billNo : numbers) {
        Bill bill = Bill::of(local.billMaster.query({billNo}), local.billLines.query({billNo}));
        const auto copy = onServer.find(billNo.toString());
        if (copy == onServer.end()) {
            toSend.push_back(std::move(bill));
        } else if (sameBill(copy->second, bill)) {
            alreadyThere.push_back(std::move(bill));
            held.push_back(&alreadyThere.back());
        } else {
            person.message("服务器上已有另一张单号为" + billNo.toString() + "的单据！本机的这张单据没有上传，"
                               "仍保存在本机，请与系统管理员联系。",
                           "错误", MessageIcon::Error);
        }
    }

    std::string lostConnection;
    followUp.beforeSending(toSend);
    const std::vector<CardAccount> cards = cardsOfUploadedBills(server, toSend, state);
    const std::vector<UploadedBillResult> results = SaveUploadedBills(
        dm.conServer().statements<SaleStatements>(), numbering, person, state, toSend, cards, lostConnection);
    bool unsettled = false;
    for (std::size_t i = 0; i < toSend.size(); ++i) {
        switch (results[i]) {
        case UploadedBillResult::Saved:
            held.push_back(&toSend[i]);
            followUp.booked(toSend[i], cards[i].cardKind == MemberCardKind::StoredValue);
            break;
        case UploadedBillResult::NotSaved:
            person.message("上传数据到服务器失败！单号为：" + toSend[i].billNo().toString(), "错误",
                           MessageIcon::Error);
            break;
        case UploadedBillResult::Unsettled:
            unsettled = true;
            break;
        }
    }
    deleteLocally(local, by, held);
    // The network failed twice or the server cannot be reached: the rest waits for the
    // next upload, and the caller hears of the failure.
    if (unsettled)
        throw DbError(lostConnection.empty() ? "server connection lost" : lostConnection, true);
    followUp.afterBooking();
}

}  // namespace

void UploadOfflineBills(TDM& dm, const TPosState& state, Person& person, const Clock& clock, ErrorLog& log)
{
    if (state.NetMode != Online)
        return person.message("当前模式不是『连网销售』模式,不能上传数据！", "提示", MessageIcon::Information);
    const std::vector<Value> waiting = readWaitingBillNumbers(dm.conClient().statements<UploadStatements>());
    if (waiting.empty())
        return;
    auto wait = person.pleaseWait("正在上传数据,请稍候...");
    BillNumbering numbering(dm.conClient().statements<NumberingStatements>(), clock);
    const Uploader by{state, person, clock, log};
    UploadFollowUp followUp(dm.conServer().statements<UploadStatements>());
    const auto report = [&] { followUp.report(person, [&](const std::string& line) { by.logError(line); }); };
    try {
        for (std::size_t first = 0; first < waiting.size(); first += kBillsPerRound) {
            const std::size_t last = std::min(waiting.size(), first + kBillsPerRound);
            uploadRound(dm, by, numbering, followUp,
                        std::vector<Value>(waiting.begin() + static_cast<std::ptrdiff_t>(first),
                                           waiting.begin() + static_cast<std::ptrdiff_t>(last)));
        }
    } catch (const DbError& error) {
        report();  // what was booked before the failure is followed up all the same
        by.logError(error.what());
        throw DbError(error.isNetworkFailure()
                          ? "与服务器的连接中断，上传没有完成！未上传的单据仍保存在本机，下次上传时由服务器核对。"
                          : "上传数据到服务器失败！未上传的单据仍保存在本机。",
                      error.isNetworkFailure());
    }
    report();
}

}  // namespace pos
