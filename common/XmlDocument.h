// XML document access for every XML file of the system: project files, album
// configurations and the catalogues. Thin wrappers over pugixml that keep
// attribute order, comments and text nodes as they stand in the file.
//
// Missing nodes and attributes are not errors: a null node answers every query
// with empty text, 0 or another null node.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace pugi {
class xml_document;
}

class CXmlNodeWrapper;

class CXmlDocumentWrapper {
public:
    CXmlDocumentWrapper();
    ~CXmlDocumentWrapper();
    CXmlDocumentWrapper(const CXmlDocumentWrapper&) = delete;
    CXmlDocumentWrapper& operator=(const CXmlDocumentWrapper&) = delete;

    // Synchronous load of a file; true only when it parsed completely and
    // nests no deeper than 256 levels. Text of blanks and line ends is kept
    // when it is an element's whole content.
    bool Load(const QString& path);
    // Parses a string, as Load. A new document starts from NewDocumentText.
    bool LoadXML(const QString& text);
    // Writes the document; an empty path means the path it was loaded from.
    // The file is replaced atomically: a failed write leaves the old file.
    bool Save(const QString& path = QString());
    // The document as text, as Save would write it. A CR in text is written as
    // "&#13;", so that it reads back as a CR.
    QByteArray ToBytes() const;

    CXmlNodeWrapper AsNode() const; // the document element

    static const char* const NewDocumentText; // <?xml version="1.0"?><SaveDatas/>

private:
    std::unique_ptr<pugi::xml_document> m_doc;
    QString m_path;
};

// A reference to one node of a document (usually an element). Copies refer to
// the same node; the document must outlive them.
class CXmlNodeWrapper {
public:
    enum class Kind { Null, Element, Text, CData, Comment, Other };

    CXmlNodeWrapper() = default;

    bool IsValid() const { return m_node != nullptr; }
    Kind NodeKind() const;
    // Local name of an element (any "prefix:" removed); empty for other kinds.
    QString LocalName() const;
    // The name the catalogue walk compares: the local name of an element,
    // the text content of any other node.
    QString WalkName() const;

    CXmlNodeWrapper Find(const QString& name) const; // first child element of that name
    int NumNodes() const;                           // number of child elements
    CXmlNodeWrapper GetNode(int index) const;       // child element by index, null when out of range
    std::vector<CXmlNodeWrapper> ChildNodes() const; // every child node of every kind, in order

    // Creates an element and inserts it before the child element at index,
    // or appends it when there is no such child.
    CXmlNodeWrapper InsertNode(int index, const QString& name);
    CXmlNodeWrapper AppendNode(const QString& name);
    void RemoveNode(const CXmlNodeWrapper& child);

    QString GetValue(const QString& attributeName) const; // empty when missing
    void SetValue(const QString& attributeName, const QString& value);
    void SetValue(const QString& attributeName, int value);
    int NumAttributes() const;
    QString GetAttribName(int index) const;
    QString GetAttribVal(int index) const;
    void SetAttribValue(int index, const QString& value);

    QString GetText() const; // text content of the node and its descendants
    void SetText(const QString& text);

    bool operator==(const CXmlNodeWrapper& other) const { return m_node == other.m_node; }

private:
    friend class CXmlDocumentWrapper;
    explicit CXmlNodeWrapper(void* node) : m_node(node) {}
    void* m_node = nullptr; // pugi::xml_node_struct*
};

// Integers in XML files (and elsewhere in the system's text formats) are read
// as decimal with optional leading blanks and sign; reading stops at the first
// other character, and text without digits reads as 0. Values beyond the int
// range saturate.
int ParseLeadingInt(QStringView text);
