#pragma once
// A small XML document with a cursor, the form in which the module and the host exchange their
// documents. The cursor has a main position (an element of the current level, the top level at
// first) and a child position (a child of the main element). Adding and finding move the cursor;
// reading looks at what it points to.
#include "KitExport.h"

#include <QString>
#include <QStringView>
#include <memory>

class KIT_API CXml
{
  public:
    // x_AddElem flag: add the element as a child of the main element instead of beside it.
    static constexpr int MNF_CHILD = 0x4000;

    CXml();
    ~CXml();
    // Copies are deep: a receiver that keeps a document past the call copies it.
    CXml(const CXml& other);
    CXml& operator=(const CXml& other);

    // Adds an element after the main position (or, with MNF_CHILD, after the child position of
    // the main element) and moves the cursor onto it. False when the name is not a valid XML name
    // or a child is asked for while there is no main element.
    bool x_AddElem(QStringView tag, QStringView text, int flags);
    bool x_AddElem(QStringView tag, long long value, int flags);
    bool AddElem(QStringView tag, QStringView text = {}) { return x_AddElem(tag, text, 0); }
    bool AddElem(QStringView tag, long long value) { return x_AddElem(tag, value, 0); }
    bool AddChildElem(QStringView tag, QStringView text = {}) { return x_AddElem(tag, text, MNF_CHILD); }
    bool AddChildElem(QStringView tag, long long value) { return x_AddElem(tag, value, MNF_CHILD); }

    // Back to the top level, before its first element, with no child position.
    void ResetPos();
    // Moves the main position to the next element of the current level named `tag` (any name
    // when empty) and clears the child position. False, leaving the cursor alone, when none is left.
    bool FindElem(QStringView tag = {});
    // Moves the child position to the next child of the main element named `tag` (any name when
    // empty). Without a main position the first element of the level becomes the main position.
    bool FindChildElem(QStringView tag = {});
    // Makes the main element the level being walked (its child position becomes the main
    // position); OutOfElem goes back up. False when there is nothing to enter or leave.
    bool IntoElem();
    bool OutOfElem();

    QString GetTagName() const;
    QString GetData() const;
    QString GetChildTagName() const;
    QString GetChildData() const;
    // The child's text read as a decimal integer; `fallback` when it is not one.
    long long GetChildInt(long long fallback = 0) const;

    // The document as text (UTF-16 string holding XML without a declaration).
    QString GetDoc() const;
    // Replaces the document by the parsed text and resets the cursor. A text that is not
    // well-formed XML is refused: false, and the document stays as it was.
    bool SetDoc(QStringView text);
    bool IsEmpty() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
