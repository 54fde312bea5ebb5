#pragma once

#include "base/pos_state.h"
#include "members/member_card.h"
#include "members/swipe_timer.h"
#include "widgets/frm_base.h"

#include <string>

class QLineEdit;
class QPushButton;

namespace pos {

// "6/": the member card dialog. The cashier types or swipes the card number (in
// swipe-only mode a number that arrives too slowly was typed by hand and is refused),
// gives the password of a stored-value card, and sees the card's data; an authorised
// operator may take points or cumulative purchases off the card shown. The card
// accepted and the member it makes are read after the dialog closed; CurrentMember is
// the caller's to change.
class TfrmInsider : public TfrmBase {
    Q_OBJECT
public:
    // member: the sale's member, what the dialog starts from. swipeOnly: a number typed by
    // hand is refused ("VIPInput").
    TfrmInsider(MemberCardContext c, const CurrentMember& member, bool swipeOnly, const MonotonicClock& clock,
                QWidget* parent = nullptr);

    // Whether the dialog closed with a card accepted.
    bool cardAccepted() const { return accepted_; }
    // The number of the accepted card, blanks trimmed; empty when none is accepted.
    std::string cardNo() const;
    // The member of the accepted card.
    const CurrentMember& member() const { return member_; }

protected:
    bool baseKeyDown(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

public slots:
    // Cancel, Esc and closing the window: no card.
    void reject() override;

private:
    std::string typedCardNo() const;
    void insiderChanged(const QString& text);
    void forgetCard();
    void insiderEnter();
    void runCheck();
    void askPassword();
    void show(const MemberCardShown& card);
    void deduct(Deduction what, QLineEdit* shownValue);
    void btnOKClick();

    const MemberCardContext c_;
    const CurrentMember start_;  // the sale's member, back when a card is forgotten
    SwipeTimer swipe_;
    const bool swipeOnly_;
    bool numberEmpty_ = true;  // the swipe count starts when the number stops being empty
    bool accepted_ = false;
    CurrentMember member_;

    QLineEdit* edtInsider_;
    QLineEdit* edtPass_;
    QLineEdit* edtCardNo_;
    QLineEdit* edtHolder_;
    QLineEdit* edtCardType_;
    QLineEdit* edtHandOutDate_;
    QLineEdit* edtDiscountType_;
    QLineEdit* edtDiscount_;
    QLineEdit* edtTotalAmount_;
    QLineEdit* edtPoint_;
    QLineEdit* edtValidDate_;
    QLineEdit* edtCardAmount_;
    QPushButton* btnOK_;
    QPushButton* btnCancel_;
    QPushButton* btnDecPoint_;
    QPushButton* btnDecTotalAmount_;
};

}  // namespace pos
