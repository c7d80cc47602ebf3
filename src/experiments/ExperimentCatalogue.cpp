#include "experiments/ExperimentCatalogue.h"

#include <algorithm>
#include <vector>

namespace brv {

namespace {

struct TDeclaredRow {
    TExperimentRow row;
    std::function<TExperimentForm*()> create;
};

// Filled while the program's statics are initialised, one row per unit, in
// no order of their own.
std::vector<TDeclaredRow>& DeclaredRows()
{
    static std::vector<TDeclaredRow> rows;
    return rows;
}

TCatalogueEntry EntryOf(const TDeclaredRow& declared, int menuPosition)
{
    TCatalogueEntry e;
    e.id = declared.row.id;
    e.create = declared.create;
    e.largeButtons = declared.row.largeButtons;
    e.mainPage = QString::fromLatin1(declared.row.mainPage);
    e.pages = declared.row.pages;
    if (declared.row.menuCaption != nullptr) {
        e.menuCaption = declared.row.menuCaption();
        e.menuPosition = menuPosition;
    }
    return e;
}

}  // namespace

bool DeclareExperimentRow(const TExperimentRow& row, std::function<TExperimentForm*()> create)
{
    DeclaredRows().push_back({row, std::move(create)});
    return true;
}

void RegisterExperiments()
{
    struct TOrdered {
        const TDeclaredRow* declared;
        QString caption;
    };
    std::vector<TOrdered> rows;
    for (const TDeclaredRow& d : DeclaredRows())
        rows.push_back({&d, d.row.menuCaption != nullptr ? d.row.menuCaption() : QString()});
    // Rows without a caption keep the id order, so the catalogue's order
    // never depends on the order the linker laid the units out in.
    std::sort(rows.begin(), rows.end(), [](const TOrdered& a, const TOrdered& b) {
        const TExperimentRow& x = a.declared->row;
        const TExperimentRow& y = b.declared->row;
        if (x.subject != y.subject)
            return x.subject < y.subject;
        if (const int byCaption = QString::compare(a.caption, b.caption, Qt::CaseInsensitive); byCaption != 0)
            return byCaption < 0;
        return x.id < y.id;
    });
    TCatalogue& catalogue = TCatalogue::Instance();
    int menuPosition = 0;
    for (const TOrdered& r : rows) {
        catalogue.Register(EntryOf(*r.declared, menuPosition));
        if (r.declared->row.menuCaption != nullptr)
            ++menuPosition;
    }
}

}  // namespace brv
