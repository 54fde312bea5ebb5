#include "register/ui/qt_person.h"

#include "access/ui/frm_admin_login.h"
#include "widgets/frm_comm_input.h"
#include "widgets/frm_goods_list.h"
#include "widgets/frm_wait_show.h"
#include "widgets/message_box.h"
#include "widgets/window_caption.h"

#include <QApplication>

namespace pos {
namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

// The please-wait window lives as long as the indicator the caller holds.
class WaitWindow : public WaitIndicator {
public:
    explicit WaitWindow(const std::string& text)
    {
        window_.showMessage(q(text));
        // Lets the window system show it; keys typed meanwhile wait for the register, which
        // must not run them in the middle of the work this window stands for.
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }

private:
    TfrmWaitShow window_;
};

}  // namespace

QWidget* QtPerson::owner() { return QApplication::activeWindow(); }

void QtPerson::message(const std::string& text, const std::string& title, MessageIcon icon)
{
    showMessageBox(owner(), q(text), q(title), icon);
}

bool QtPerson::ask(const std::string& text, const std::string& title, MessageIcon icon)
{
    return askYesNo(owner(), q(text), q(title), icon);
}

std::string QtPerson::input(const std::string& caption, const std::string& label, InputKind kind)
{
    TfrmCommInput dialog(*this, owner());
    setWindowCaption(dialog, q(caption));
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
