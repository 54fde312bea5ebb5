#include "register/ui/qt_person.h"

#include "access/ui/frm_admin_login.h"
#include "widgets/frm_comm_input.h"
#include "widgets/frm_goods_list.h"
#include "widgets/frm_wait_show.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace pos {
namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// The please-wait window lives as long as the indicator the caller holds.
class WaitWindow : public WaitIndicator {
public:
    explicit WaitWindow(const std::string& text)
    {
        window_.showMessage(q(text));
        QApplication::processEvents();
    }

private:
    TfrmWaitShow window_;
};

}  // namespace

QWidget* QtPerson::owner() { return QApplication::activeWindow(); }

void QtPerson::message(const std::string& text, const std::string& title, MessageIcon icon)
{
    QMessageBox box(boxIcon(icon), q(title), q(text), QMessageBox::Ok, owner());
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box.exec();
}

bool QtPerson::ask(const std::string& text, const std::string& title, MessageIcon icon)
{
    QMessageBox box(boxIcon(icon), q(title), q(text), QMessageBox::Yes | QMessageBox::No, owner());
    box.button(QMessageBox::Yes)->setText(QStringLiteral("是(&Y)"));
    box.button(QMessageBox::No)->setText(QStringLiteral("否(&N)"));
    return box.exec() == QMessageBox::Yes;
}

std::string QtPerson::input(const std::string& caption, const std::string& label, InputKind kind)
{
    TfrmCommInput dialog(*this, owner());
    dialog.setWindowTitle(q(caption));
    dialog.setLabel(q(label));
    dialog.setKind(static_cast<int>(kind));
    dialog.exec();
    return dialog.resultText();
}

std::size_t QtPerson::pickGoods(PagedRows& candidates)
{
    TfrmGoodsList dialog(candidates, owner());
    dialog.exec();
    return dialog.currentRow();
}

std::optional<Credentials> QtPerson::supervisor(OperatorRight right)
{
    TfrmAdminLogin dialog(right, owner());
    dialog.exec();
    return dialog.credentials();
}

std::unique_ptr<WaitIndicator> QtPerson::pleaseWait(const std::string& text)
{
    return std::make_unique<WaitWindow>(text);
}

}  // namespace pos
