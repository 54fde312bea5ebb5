#include "register/ui/frm_pos_help.h"

#include "base/trim.h"
#include "config/terminal.h"
#include "register/key_map.h"
#include "widgets/row_set_model.h"
#include "widgets/window_errors.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace pos {

namespace {

constexpr int kFirstKeyColumn = 2;
constexpr int kSecondKeyColumn = 3;

}  // namespace

// The key map as shown, the two own keys editable; an edited cell is written at once,
// and a cell the file refuses keeps its old text.
class KeyMapModel : public RowSetModel {
public:
    KeyMapModel(Terminal& t, RowSet& rows, QObject* parent)
        : RowSetModel(rows,
                      {{QStringLiteral("功能说明"), "Function", 180},
                       {QStringLiteral("默认键"), "SysKey", 60},
                       {QStringLiteral("自定键一"), "FirClientKey", 90},
                       {QStringLiteral("自定键二"), "SecClientKey", 90},
                       {QStringLiteral("例子"), "sample", 330}},
                      parent),
          t_(t),
          rows_(rows)
    {
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        Qt::ItemFlags f = RowSetModel::flags(index);
        if (editable(index))
            f |= Qt::ItemIsEditable;
        return f;
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        return RowSetModel::data(index, role == Qt::EditRole ? Qt::DisplayRole : role);
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        if (role != Qt::EditRole || !editable(index))
            return false;
        const auto r = static_cast<std::size_t>(index.row());
        const bool first = index.column() == kFirstKeyColumn;
        const std::string typed = trimmed(value.toString().toStdString());
        const KeyMapColumns column(rows_.columns());
        const std::size_t edited = first ? column.firstKey : column.secondKey;
        const std::string other = rows_.row(r)[first ? column.secondKey : column.firstKey].toString();
        const std::string sysKey = rows_.row(r)[column.sysKey].toString();
        const std::string firstKey = first ? typed : other, secondKey = first ? other : typed;
        if (typed != rows_.row(r)[edited].toString()
            && mapsATypingKeyAlone(firstKey, secondKey) && !typingKeyConfirmed(r, firstKey))
            return false;
        RegisterStatements& local = t_.dm.conClient().statements<RegisterStatements>();
        if (!guarded("修改自定键", [&] { local.setKeys.execute({firstKey, secondKey, sysKey}); }))
            return false;
        rows_.row(r)[edited] = typed;
        emit dataChanged(index, index);
        warnOfSharedKeys(r, firstKey, secondKey);
        return true;
    }

private:
    std::string functionOf(std::size_t row) const
    {
        return rows_.row(row)[KeyMapColumns(rows_.columns()).function].toString();
    }

    // A typing key alone is kept only once the shop has been told what it does to scanning.
    bool typingKeyConfirmed(std::size_t row, const std::string& key)
    {
        return t_.person.ask("键“" + key + "”单独使用时，扫描或输入以“" + key
                                 + "”开头的条码和数量时会被当作命令执行！确实要把它设为“" + functionOf(row)
                                 + "”的键吗？（建议再设一个自定键二，如 Enter）",
                             "提示");
    }

    // Two rows on the same keys: the lookup runs only one of them.
    void warnOfSharedKeys(std::size_t row, const std::string& first, const std::string& second)
    {
        const std::optional<std::size_t> other = rowSharingKeys(rows_, row, first, second);
        if (!other)
            return;
        const std::string keys = second.empty() ? first : first + "+" + second;
        t_.person.message("“" + functionOf(row) + "”与“" + functionOf(*other) + "”使用同一个键“" + keys
                              + "”，按下时只会执行其中一个！请修改其中一行。",
                          "提示", MessageIcon::Information);
    }

    static bool editable(const QModelIndex& index)
    {
        return index.isValid() && (index.column() == kFirstKeyColumn || index.column() == kSecondKeyColumn);
    }

    Terminal& t_;
    RowSet& rows_;
};

// The grid, able to end the cell being typed on request.
class KeyMapGrid : public QTableView {
public:
    using QTableView::QTableView;

    bool typing() const { return state() == QAbstractItemView::EditingState; }

    // Ends the editing of the cell being typed, writing it or dropping it.
    void endEditing(bool write)
    {
        if (QWidget* editor = indexWidget(currentIndex()); editor && typing()) {
            if (write)
                commitData(editor);
            closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
    }
};

TfrmPosHelp::TfrmPosHelp(Terminal& t, QWidget* parent) : TfrmBase(parent), t_(t)
{
    setWindowTitle(QStringLiteral("帮助"));
    auto* layout = new QVBoxLayout(this);
    model_ = new KeyMapModel(t_, rows_, this);
    DBGrid1_ = new KeyMapGrid(this);
    DBGrid1_->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1_->setModel(model_);
    DBGrid1_->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                              | QAbstractItemView::AnyKeyPressed);
    model_->applyWidths(*DBGrid1_);
    layout->addWidget(DBGrid1_);
    for (const char* hint : {"空格:Space,回车:Enter,取消:BackSpace", "↑:Up Arrow,←:Left Arrow"})
        layout->addWidget(new QLabel(QString::fromUtf8(hint), this));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    const auto addButton = [&](const char* text, const char* name) {
        auto* b = new QPushButton(QString::fromUtf8(text), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    btnOK_ = addButton("确定", "btnOK");
    btnDefault_ = addButton("恢复缺省", "btnDefault");
    btnCancel_ = addButton("取消", "btnCancel");
    layout->addLayout(buttons);
    connect(btnOK_, &QPushButton::clicked, this, &TfrmPosHelp::btnOKClick);
    connect(btnDefault_, &QPushButton::clicked, this, &TfrmPosHelp::btnDefaultClick);
    connect(btnCancel_, &QPushButton::clicked, this, &TfrmPosHelp::reject);
    resize(800, 520);
    load();
    DBGrid1_->setFocus();
}

TfrmPosHelp::~TfrmPosHelp() = default;

void TfrmPosHelp::load()
{
    guarded("读取键盘定义", [&] { rows_ = t_.dm.conClient().statements<RegisterStatements>().keyMap.query(); });
    model_->reload();
    DBGrid1_->setCurrentIndex(model_->index(0, kFirstKeyColumn));
}

void TfrmPosHelp::btnOKClick() { DBGrid1_->endEditing(true); }

void TfrmPosHelp::btnDefaultClick()
{
    if (!t_.person.ask("确实要恢复全部默认键吗？", "提示"))
        return;
    // A cell being typed is dropped: every key goes back to its default.
    DBGrid1_->endEditing(false);
    if (guarded("恢复缺省键", [&] { restoreDefaultKeys(t_.dm.conClient().statements<RegisterStatements>()); }))
        load();
}

void TfrmPosHelp::reject()
{
    DBGrid1_->endEditing(false);
    TfrmBase::reject();
}

bool TfrmPosHelp::baseKeyDown(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    // Enter in a cell being typed ends the cell; anywhere else it closes the window.
    if (DBGrid1_->typing())
        return false;
    accept();
    return true;
}

void TfrmPosHelp::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        return event->ignore();
    TfrmBase::keyPressEvent(event);
}

}  // namespace pos
