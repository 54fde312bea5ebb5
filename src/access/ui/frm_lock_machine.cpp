#include "access/ui/frm_lock_machine.h"

#include "access/screen_lock.h"
#include "widgets/window_errors.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <utility>

namespace pos {

TfrmLockMachine::TfrmLockMachine(WorkingConnection db, Person& person, int operatorId, std::string operatorCode,
                                 QWidget* parent)
    : TfrmBase(parent), db_(db), person_(person), operatorId_(operatorId), operatorCode_(std::move(operatorCode))
{
    setWindowTitle(QStringLiteral("锁机"));
    // No close button to offer: the title bar keeps only the caption.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(QStringLiteral("本机处于锁机状态，只有锁定的操作员输入密码才能解锁"), this);
    text->setObjectName(QStringLiteral("lblLock"));
    text->setWordWrap(true);
    layout->addWidget(text);
    edtPass_ = new QLineEdit(this);
    edtPass_->setObjectName(QStringLiteral("edtPass"));
    edtPass_->setEchoMode(QLineEdit::Password);
    edtPass_->setAttribute(Qt::WA_InputMethodEnabled, false);
    layout->addWidget(edtPass_);
    setFixedWidth(260);
    edtPass_->setFocus();
}

void TfrmLockMachine::edtPassEnter()
{
    bool opens = false;
    // A failed check (a lost server, say) is reported and the terminal stays locked.
    if (guarded("解锁", [&] {
            opens = UnlocksTerminal(db_.db().statements<AccessStatements>(), operatorId_, operatorCode_,
                                    edtPass_->text().toStdString());
        })) {
        if (opens) {
            unlocked_ = true;
            accept();
            return;
        }
        person_.message("输入的密码不正确！", "提示", MessageIcon::Information);
    }
    edtPass_->setFocus();
    edtPass_->selectAll();
}

bool TfrmLockMachine::baseKeyDown(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        edtPassEnter();
        return true;
    }
    // Alt+F4 never reaches a close; the one box keeps the focus.
    return key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Up || key == Qt::Key_Down
           || (key == Qt::Key_F4 && event->modifiers().testFlag(Qt::AltModifier));
}

void TfrmLockMachine::reject()
{
    if (unlocked_)
        TfrmBase::reject();
}

void TfrmLockMachine::closeEvent(QCloseEvent* event)
{
    if (unlocked_)
        event->accept();
    else
        event->ignore();
}

}  // namespace pos
