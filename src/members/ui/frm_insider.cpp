#include "members/ui/frm_insider.h"

#include "base/number_format.h"
#include "base/trim.h"
#include "widgets/enter_key.h"
#include "widgets/named_widget.h"
#include "widgets/window_errors.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pos {
namespace {

constexpr const char* kOperation = "会员卡";

QString q(const std::string& text) { return QString::fromStdString(text); }

void setEditable(QLineEdit* edit, bool editable)
{
    edit->setEnabled(editable);
    edit->setStyleSheet(editable ? QStringLiteral("background-color: white;")
                                 : QStringLiteral("background-color: #c0c0c0;"));
}

}  // namespace

TfrmInsider::TfrmInsider(MemberCardContext c, const CurrentMember& member, bool swipeOnly,
                         const MonotonicClock& clock, QWidget* parent)
    : TfrmBase(parent), c_(c), start_(member), swipe_(clock), swipeOnly_(swipeOnly), member_(member)
{
    setWindowTitle(QStringLiteral("会员卡"));
    auto* top = new QVBoxLayout(this);

    auto* entry = new QGridLayout;
    edtInsider_ = named<QLineEdit>("edtInsider");
    edtPass_ = named<QLineEdit>("edtPass");
    edtPass_->setEchoMode(QLineEdit::Password);
    edtPass_->setAttribute(Qt::WA_InputMethodEnabled, false);
    entry->addWidget(new QLabel(QStringLiteral("会员卡号：")), 0, 0);
    entry->addWidget(edtInsider_, 0, 1);
    entry->addWidget(new QLabel(QStringLiteral("密　　码：")), 1, 0);
    entry->addWidget(edtPass_, 1, 1);
    top->addLayout(entry);

    auto* group = named<QGroupBox>("grpCard", QStringLiteral("会员卡信息"));
    auto* grid = new QGridLayout(group);
    int cell = 0;
    auto shown = [&](const char* caption, const char* name) {
        auto* edit = named<QLineEdit>(name);
        edit->setReadOnly(true);
        edit->setFocusPolicy(Qt::NoFocus);
        grid->addWidget(new QLabel(QString::fromUtf8(caption)), cell / 2, (cell % 2) * 2);
        grid->addWidget(edit, cell / 2, (cell % 2) * 2 + 1);
        ++cell;
        return edit;
    };
    edtCardNo_ = shown("会员卡号：", "edtCardNo");
    edtHolder_ = shown("持 卡 人：", "edtHolder");
    edtCardType_ = shown("卡 类 型：", "edtCardType");
    edtHandOutDate_ = shown("发卡日期：", "edtHandOutDate");
    edtDiscountType_ = shown("优惠方式：", "edtDiscountType");
    edtDiscount_ = shown("折 扣 率：", "edtDiscount");
    edtTotalAmount_ = shown("累计消费：", "edtTotalAmount");
    edtPoint_ = shown("累计积分：", "edtPoint");
    edtValidDate_ = shown("有效日期：", "edtValidDate");
    edtCardAmount_ = shown("卡内余额：", "edtCardAmount");
    top->addWidget(group);

    auto* buttons = new QHBoxLayout;
    btnOK_ = named<QPushButton>("btnOK", QStringLiteral("确定"));
    btnCancel_ = named<QPushButton>("btnCancel", QStringLiteral("取消(&6)"));
    btnDecPoint_ = named<QPushButton>("btnDecPoint", QStringLiteral("冲减积分(F4)"));
    btnDecTotalAmount_ = named<QPushButton>("btnDecTotalAmount", QStringLiteral("冲减累计消费(F5)"));
    for (QPushButton* b : {btnOK_, btnCancel_, btnDecPoint_, btnDecTotalAmount_})
        buttons->addWidget(b);
    top->addLayout(buttons);

    connect(btnOK_, &QPushButton::clicked, this, &TfrmInsider::btnOKClick);
    connect(btnCancel_, &QPushButton::clicked, this, &TfrmInsider::reject);
    connect(btnDecPoint_, &QPushButton::clicked, this, [this] { deduct(Deduction::Points, edtPoint_); });
    connect(btnDecTotalAmount_, &QPushButton::clicked, this,
            [this] { deduct(Deduction::TotalAmount, edtTotalAmount_); });

    connect(edtInsider_, &QLineEdit::textChanged, this, &TfrmInsider::insiderChanged);

    edtInsider_->setEchoMode(swipeOnly_ ? QLineEdit::Password : QLineEdit::Normal);
    setEditable(edtPass_, false);
    edtInsider_->setFocus();
}

std::string TfrmInsider::cardNo() const { return accepted_ ? member_.VIPCardNo : std::string(); }

std::string TfrmInsider::typedCardNo() const { return trimmed(edtInsider_->text().toStdString()); }

bool TfrmInsider::eventFilter(QObject* watched, QEvent* event)
{
    // Coming back to the number starts a new one; the window itself becoming active
    // again (after a message) does not.
    if (watched == edtInsider_ && event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            edtInsider_->clear();
    }
    return TfrmBase::eventFilter(watched, event);
}

bool TfrmInsider::baseKeyDown(QKeyEvent* event)
{
    const bool enter = isEnterKey(event);
    QWidget* focus = focusWidget();
    if (event->key() == Qt::Key_F4) {
        btnDecPoint_->click();
        return true;
    }
    if (event->key() == Qt::Key_F5) {
        btnDecTotalAmount_->click();
        return true;
    }
    if (focus == edtInsider_ && enter) {
        insiderEnter();
        return true;
    } else if (focus == edtPass_ && enter) {
        runCheck();
        return true;
    }
    return TfrmBase::baseKeyDown(event);
}

void TfrmInsider::insiderChanged(const QString& text)
{
    // Whatever was checked belongs to the number that was in the box: a new number, or
    // none, starts over, the old card's password and shown facts included (a deduction
    // takes the card shown).
    forgetCard();
    show(MemberCardShown{});
    edtPass_->clear();
    setEditable(edtPass_, false);
    // Counted from the first change rather than the first key, so a pasted number is
    // timed too.
    if (text.isEmpty())
        swipe_.reset();
    else if (swipeOnly_ && numberEmpty_)
        swipe_.start();
    numberEmpty_ = text.isEmpty();
}

void TfrmInsider::forgetCard()
{
    accepted_ = false;
    member_ = start_;
}

void TfrmInsider::insiderEnter()
{
    forgetCard();
    swipe_.stop();
    bool storedValue = false;
    if (!guarded(kOperation, [&] {
            const std::optional<MemberCardRecord> card = ReadMemberCard(c_.db().statements<MemberStatements>(), typedCardNo());
            storedValue = card && isStoredValueCard(*card);
        }))
        return;
    if (storedValue)
        return askPassword();
    edtPass_->clear();
    setEditable(edtPass_, false);
    runCheck();
}

void TfrmInsider::askPassword()
{
    setEditable(edtPass_, true);
    edtPass_->setFocus();
}

void TfrmInsider::runCheck()
{
    // Only the check that passes now accepts; a refusal leaves no card accepted.
    forgetCard();
    CurrentMember candidate = member_;
    std::optional<CardCheck> check;
    if (!guarded(kOperation, [&] {
            check = CheckMemberCard(c_, candidate, edtInsider_->text().toStdString(), edtPass_->text().toStdString(),
                                    swipe_.ticks());
        }))
        return;
    if (check->shown)
        show(*check->shown);
    switch (check->outcome) {
    case CardCheckOutcome::NoNumber:
    case CardCheckOutcome::HandTyped:
        edtInsider_->setFocus(Qt::OtherFocusReason);
        return;
    case CardCheckOutcome::Unknown:
    case CardCheckOutcome::Blocked:
        btnCancel_->setFocus();
        return;
    case CardCheckOutcome::WrongPassword:
        // The next try is typed afresh, not appended to the wrong one.
        edtPass_->clear();
        askPassword();
        return;
    case CardCheckOutcome::Accepted:
        member_ = candidate;
        accepted_ = true;
        btnOK_->setFocus();
        return;
    }
}

void TfrmInsider::show(const MemberCardShown& card)
{
    edtCardNo_->setText(q(card.cardNo));
    edtHolder_->setText(q(card.holder));
    edtCardType_->setText(q(card.cardType));
    edtHandOutDate_->setText(q(card.handOutDate));
    edtDiscountType_->setText(q(card.discountType));
    edtDiscount_->setText(q(card.discount));
    edtTotalAmount_->setText(q(card.totalAmount));
    edtPoint_->setText(q(card.points));
    edtValidDate_->setText(q(card.validDate));
    edtCardAmount_->setText(q(card.cardAmount));
}

void TfrmInsider::deduct(Deduction what, QLineEdit* shownValue)
{
    DeductionResult result{DeductionOutcome::Failed};
    if (!guarded(kOperation, [&] {
            result = DeductFromCard(c_, what, edtCardNo_->text().toStdString(), shownValue->text().toStdString());
        }))
        return;
    switch (result.outcome) {
    case DeductionOutcome::NoCard:
        edtInsider_->setFocus(Qt::OtherFocusReason);
        return;
    case DeductionOutcome::Done:
        shownValue->setText(q(generalNumber(result.newValue)));
        [[fallthrough]];
    case DeductionOutcome::NotAllowed:
    case DeductionOutcome::Nothing:
    case DeductionOutcome::Failed:
        btnOK_->setFocus();
        return;
    case DeductionOutcome::NotEnough:
        return;
    }
}

void TfrmInsider::btnOKClick()
{
    if (accepted_)
        accept();
    else
        reject();
}

void TfrmInsider::reject()
{
    accepted_ = false;
    TfrmBase::reject();
}

}  // namespace pos
