#include "FakeView.h"

int FakeView::currentIndex(Control list) const
{
    const QString shown = text(list).trimmed();
    const QStringList rows = listRows(list);
    for (int row = 0; row < rows.size() && !shown.isEmpty(); ++row)
        if (rows[row].trimmed() == shown)
            return row;
    return -1;
}
