#pragma once

#include <QTableView>

namespace pos {

// The register's line grid, able to finish the cell being edited from outside, as the
// register's own keys end or abandon grid editing.
class LineGrid : public QTableView {
    Q_OBJECT
public:
    using QTableView::QTableView;

    // Takes the value of the open cell editor into the line and closes the editor.
    void commitEditor();
    // Closes the open cell editor without taking its value.
    void cancelEditor();
    // Whether the widget is the grid or lies inside it (a cell editor).
    bool holds(const QWidget* widget) const;

private:
    QWidget* openEditor() const;
};

}  // namespace pos
