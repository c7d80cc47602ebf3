// The lesson index: the collapsible table of contents of the lesson book.
//
// Its headings and page entries come from a little-endian binary file
// ("HTML\index.ux") read once at start-up.  The index remembers which headings
// are open and which entries are selected, and renders itself as an HTML
// fragment that the lesson pane writes into the index page's element with id
// "index".  Only Qt Core is used, so the loader can be fuzzed on its own.
//
// File layout (every string is a signed 32-bit count n followed by n UTF-16
// code units, no terminator):
//   magic int32: PlainMagic, or ExtendedMagic which adds the fields marked (x)
//   (x) string, (x) string, (x) byte
//   heading count int32, then per heading:
//     number int32, caption string, (x) string, (x) string,
//     entry count int32, then per entry: caption string, page string, (x) string
//
// The file is the lesson book's, but it may be damaged or crafted: the reader
// refuses sizes, counts and texts far beyond any real lesson index (the bundled
// one is 2.5 kB with eight headings) before it allocates anything for them.
// The format nests no deeper than headings and their entries, so their counts
// are all there is to bound.
#pragma once

#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace brv {

// The index file cannot be used: wrong magic number, a file that ends early, a
// negative count or length, a size or count beyond the limits, or a file that
// cannot be opened.
class EBadIndexFile : public std::runtime_error {
public:
    // reason: what is wrong with the file, the end of a sentence
    // ("it is not a lesson index file.").
    explicit EBadIndexFile(const QString& reason, const QString& fileName = {});
    QString Reason() const { return reason_; }
    QString FileName() const { return fileName_; }
    // The text shown to the user: which file, what is wrong with it and what
    // still works.
    QString Message() const { return QString::fromUtf8(what()); }

private:
    QString reason_;
    QString fileName_;
};

class TEWBChildItem {
public:
    QString Caption;
    QString Page;  // link target such as "BALL.HTM"; compared ignoring case
    bool Selected = false;
};

class TEWBHeading {
public:
    std::int32_t Number = 0;  // stored in the file; the program does not use it
    QString Caption;
    std::vector<TEWBChildItem> Entries;
    bool Open = false;
};

class TEWBHTMLIndex {
public:
    static constexpr std::int32_t PlainMagic = 105123;
    static constexpr std::int32_t ExtendedMagic = 105122;
    // Limits no lesson index comes near.
    static constexpr qsizetype MaxFileBytes = 1 << 20;
    static constexpr std::int32_t MaxHeadings = 1000;
    static constexpr std::int32_t MaxEntriesPerHeading = 1000;
    static constexpr std::int32_t MaxEntries = 10000;
    static constexpr std::int32_t MaxTextLength = 1000;  // UTF-16 units of one string

    // Reads the file, replacing the headings, and remembers its folder.
    // Throws EBadIndexFile naming the file.  A wrong magic number or a file
    // over MaxFileBytes leaves the headings as they were; a damaged body keeps
    // the headings read completely before the fault.
    void Load(const QString& fileName);
    // The same from the file's bytes (the error names no file).
    void LoadFromData(QByteArrayView data);

    // The index as HTML for the index page.  Captions and page names are data
    // from the file, never markup: they are escaped, and a page name that
    // would read as an address of its own ("javascript:…") stays a file name
    // of the lesson book.
    QString Render() const;

    // Out-of-range heading numbers are ignored by both.
    void Toggle(int i);
    void Expand(int i);
    void ExpandAll();
    void CollapseAll();
    // First heading listing page (ignoring case); -1 if none.
    int FindHeading(const QString& page) const;
    // Selects exactly the entries whose page equals page (ignoring case).
    void Select(const QString& page);

    // "Allow all expanded": true when several headings may be open at once.
    bool AllowAllExpanded() const { return !oneHeadingOpen_; }
    void InvertAllowAllExpanded() { oneHeadingOpen_ = !oneHeadingOpen_; }

    int HeadingCount() const { return int(headings_.size()); }
    const TEWBHeading& Heading(int i) const { return headings_.at(std::size_t(i)); }
    QString Folder() const { return folder_; }

private:
    bool validHeading(int i) const { return i >= 0 && i < HeadingCount(); }
    void closeOthersIfOneOpen(int i);

    std::vector<TEWBHeading> headings_;
    bool oneHeadingOpen_ = true;
    QString folder_;
};

}  // namespace brv
