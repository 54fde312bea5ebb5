#include "storage/offline_bill_upload.h"

#include "base/trim.h"
#include "pricing/bill_arithmetic.h"
#include "storage/bill_saving.h"
#include "storage/upload_statements.h"

#include <cmath>

namespace pos {
namespace {

// The server's bill under the number is the local one: sold on the same terminal at the
// same moment, for the same amount, with as many lines. Anything else is another sale
// that got the number after the local counter went back (a replaced or restored file).
bool sameBill(const RowSet& serverCopy, const Bill& local)
{
    const Value& machineId = serverCopy.first("MachineId");
    const bool sameMachine = machineId.isNull() ? local.machineId().isNull()
                                                : !local.machineId().isNull()
                                                      && machineId.toInt() == local.machineId().toInt();
    return sameMachine && serverCopy.first("BillDate").toString() == local.billDate().toString().substr(0, 19)
        && std::fabs(serverCopy.first("RealAmount").toDouble() - local.realAmount().toDouble()) < 0.005
        && serverCopy.first("LineCount").toInt() == static_cast<std::int64_t>(local.detail.size());
}

// The member card side from the uploaded bill itself; the member on the screen is not
// touched (no points to raise).
CardAccount cardOfUploadedBill(UploadStatements& server, const Bill& bill, const TPosState& state)
{
    CardAccount card;
    card.noPointAmount = NoPointAmountOf(bill, state);
    const std::string cardNo = bill.insiderCode().toString();
    if (!cardNo.empty()) {
        const RowSet found = server.cardType.query({cardNo});
        if (!found.empty() && trimmed(found.first("CardType").toString()) == "储值卡")
            card.cardKind = kStoredValueCard;
    }
    return card;
}

// Silent on failure: the bill stays, and the next upload finds it on the server.
void deleteLocally(UploadStatements& local, const Value& billNo)
{
    try {
        Transaction transaction(local.database());
        local.deleteBill.execute({billNo});
        local.deleteLines.execute({billNo});
        transaction.commit();
    } catch (const DbError&) {
    }
}

}  // namespace

void UploadOfflineBills(TDM& dm, const TPosState& state, Person& person, const Clock& clock)
{
    if (state.NetMode != Online)
        return person.message("当前模式不是『连网销售』模式,不能上传数据！", "提示", MessageIcon::Information);
    auto& local = dm.conClient().statements<UploadStatements>();
    auto& server = dm.conServer().statements<UploadStatements>();
    const RowSet waiting = local.waitingBills.query();
    if (waiting.empty())
        return;
    auto wait = person.pleaseWait("正在上传数据,请稍候...");
    BillNumbering numbering(dm.conClient().statements<NumberingStatements>(), clock);
    for (std::size_t r = 0; r < waiting.size(); ++r) {
        const Value billNo = waiting.at(r, "BillNo");
        Bill bill = Bill::of(local.billMaster.query({billNo}), local.billLines.query({billNo}));
        const RowSet serverCopy = server.serverCopy.query({billNo});
        if (!serverCopy.empty()) {
            if (sameBill(serverCopy, bill))
                deleteLocally(local, billNo);
            else
                person.message("服务器上已有另一张单号为" + billNo.toString() + "的单据！本机的这张单据没有上传，"
                                   "仍保存在本机，请与系统管理员联系。",
                               "错误", MessageIcon::Error);
            continue;
        }
        if (SaveBill(dm.conServer().statements<SaleStatements>(), dm.conClient().statements<SaleStatements>(),
                     numbering, person, state, bill, true, cardOfUploadedBill(server, bill, state))
            == BillSavedOnServer)
            deleteLocally(local, billNo);
        else
            person.message("上传数据到服务器失败！单号为：" + billNo.toString(), "错误", MessageIcon::Error);
    }
}

}  // namespace pos
