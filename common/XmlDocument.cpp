#include "common/XmlDocument.h"

#include <QSaveFile>
#include <climits>
#include <pugixml.hpp>
#include <sstream>

namespace {

// Text that is only blanks or line ends is kept when it is an element's whole
// content (a caption of empty or blank lines); between elements it is layout.
constexpr unsigned kParseFlags = pugi::parse_default | pugi::parse_comments | pugi::parse_declaration
                                 | pugi::parse_pi | pugi::parse_doctype | pugi::parse_ws_pcdata_single;

// Deeper documents are refused when loaded. No file of the system comes near
// this, and it keeps every walk over a document short.
constexpr int kMaxDepth = 256;

pugi::xml_node nodeOf(void* p) { return pugi::xml_node(static_cast<pugi::xml_node_struct*>(p)); }
void* handleOf(pugi::xml_node n) { return n.internal_object(); }
QString fromUtf8(const char* s) { return QString::fromUtf8(s); }

struct ByteWriter : pugi::xml_writer {
    QByteArray bytes;
    void write(const void* data, size_t size) override
    {
        bytes.append(static_cast<const char*>(data), qsizetype(size));
    }
};

// A well-formed document has exactly one element at its top level; pugixml
// itself accepts fragments with several.
bool isWellFormed(const pugi::xml_parse_result& result, const pugi::xml_document& doc)
{
    if (!result)
        return false;
    int elements = 0;
    for (pugi::xml_node n = doc.first_child(); n; n = n.next_sibling())
        if (n.type() == pugi::node_element)
            ++elements;
    return elements == 1;
}

// The next node after `n` in document order within the subtree of `top`,
// descending into children when `descend`; null at the end of the subtree.
// `depth` follows the level relative to `top`. No recursion: the walk is as
// deep as the document without using the stack.
pugi::xml_node nextInSubtree(pugi::xml_node n, pugi::xml_node top, bool descend, int& depth)
{
    if (descend && n.first_child()) {
        ++depth;
        return n.first_child();
    }
    while (n != top && !n.next_sibling()) {
        n = n.parent();
        --depth;
    }
    return n == top ? pugi::xml_node() : n.next_sibling();
}

bool withinDepth(const pugi::xml_document& doc)
{
    int depth = 1;
    for (pugi::xml_node n = doc.first_child(); n; n = nextInSubtree(n, doc, true, depth))
        if (depth > kMaxDepth)
            return false;
    return true;
}

// Raw CR in XML text reads back as a line feed; written as a character
// reference it stays a CR. Loading normalises line ends, so the tree holds a
// CR only in values set through the wrappers: text, and attribute values,
// which pugixml already writes as references.
QByteArray keepCarriageReturns(QByteArray bytes)
{
    return bytes.contains('\r') ? bytes.replace("\r", "&#13;") : bytes;
}

} // namespace

const char* const CXmlDocumentWrapper::NewDocumentText = "<?xml version=\"1.0\"?><SaveDatas/>";

CXmlDocumentWrapper::CXmlDocumentWrapper() : m_doc(std::make_unique<pugi::xml_document>()) {}
CXmlDocumentWrapper::~CXmlDocumentWrapper() = default;

bool CXmlDocumentWrapper::Load(const QString& path)
{
    m_doc->reset();
    m_path = path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    const pugi::xml_parse_result result =
        m_doc->load_buffer(bytes.constData(), size_t(bytes.size()), kParseFlags, pugi::encoding_auto);
    if (!isWellFormed(result, *m_doc) || !withinDepth(*m_doc)) {
        m_doc->reset();
        return false;
    }
    return true;
}

bool CXmlDocumentWrapper::LoadXML(const QString& text)
{
    m_doc->reset();
    const QByteArray bytes = text.toUtf8();
    const pugi::xml_parse_result result =
        m_doc->load_buffer(bytes.constData(), size_t(bytes.size()), kParseFlags, pugi::encoding_utf8);
    if (!isWellFormed(result, *m_doc) || !withinDepth(*m_doc)) {
        m_doc->reset();
        return false;
    }
    return true;
}

QByteArray CXmlDocumentWrapper::ToBytes() const
{
    ByteWriter writer;
    m_doc->save(writer, "\t", pugi::format_default, pugi::encoding_utf8);
    return keepCarriageReturns(std::move(writer.bytes));
}

bool CXmlDocumentWrapper::Save(const QString& path)
{
    const QString target = path.isEmpty() ? m_path : path;
    if (target.isEmpty() || !m_doc->document_element())
        return false;
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = ToBytes();
    // A short write can surface only when the buffer is flushed, and commit()
    // would still put the truncated file in place: flush and check first.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

CXmlNodeWrapper CXmlDocumentWrapper::AsNode() const
{
    return CXmlNodeWrapper(handleOf(m_doc->document_element()));
}

// ---------------------------------------------------------------------------

CXmlNodeWrapper::Kind CXmlNodeWrapper::NodeKind() const
{
    switch (nodeOf(m_node).type()) {
    case pugi::node_null: return Kind::Null;
    case pugi::node_element: return Kind::Element;
    case pugi::node_pcdata: return Kind::Text;
    case pugi::node_cdata: return Kind::CData;
    case pugi::node_comment: return Kind::Comment;
    default: return Kind::Other;
    }
}

QString CXmlNodeWrapper::LocalName() const
{
    const pugi::xml_node n = nodeOf(m_node);
    if (n.type() != pugi::node_element)
        return QString();
    const QString name = fromUtf8(n.name());
    const qsizetype colon = name.indexOf(QLatin1Char(':'));
    return colon < 0 ? name : name.mid(colon + 1);
}

QString CXmlNodeWrapper::WalkName() const
{
    if (!m_node)
        return QString();
    if (NodeKind() == Kind::Element)
        return LocalName();
    return GetText();
}

CXmlNodeWrapper CXmlNodeWrapper::Find(const QString& name) const
{
    const pugi::xml_node n = nodeOf(m_node);
    if (!n)
        return {};
    const QByteArray wanted = name.toUtf8();
    return CXmlNodeWrapper(handleOf(n.child(wanted.constData())));
}

int CXmlNodeWrapper::NumNodes() const
{
    int count = 0;
    for (pugi::xml_node c = nodeOf(m_node).first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element)
            ++count;
    return count;
}

CXmlNodeWrapper CXmlNodeWrapper::GetNode(int index) const
{
    if (index < 0)
        return {};
    for (pugi::xml_node c = nodeOf(m_node).first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element)
            continue;
        if (index-- == 0)
            return CXmlNodeWrapper(handleOf(c));
    }
    return {};
}

std::vector<CXmlNodeWrapper> CXmlNodeWrapper::ChildNodes() const
{
    std::vector<CXmlNodeWrapper> nodes;
    for (pugi::xml_node c = nodeOf(m_node).first_child(); c; c = c.next_sibling())
        nodes.push_back(CXmlNodeWrapper(handleOf(c)));
    return nodes;
}

CXmlNodeWrapper CXmlNodeWrapper::InsertNode(int index, const QString& name)
{
    pugi::xml_node n = nodeOf(m_node);
    if (n.type() != pugi::node_element)
        return {};
    const QByteArray bytes = name.toUtf8();
    const CXmlNodeWrapper before = GetNode(index);
    pugi::xml_node created = before.IsValid() ? n.insert_child_before(bytes.constData(), nodeOf(before.m_node))
                                              : n.append_child(bytes.constData());
    return CXmlNodeWrapper(handleOf(created));
}

CXmlNodeWrapper CXmlNodeWrapper::AppendNode(const QString& name)
{
    pugi::xml_node n = nodeOf(m_node);
    if (n.type() != pugi::node_element)
        return {};
    return CXmlNodeWrapper(handleOf(n.append_child(name.toUtf8().constData())));
}

void CXmlNodeWrapper::RemoveNode(const CXmlNodeWrapper& child)
{
    pugi::xml_node n = nodeOf(m_node);
    pugi::xml_node c = nodeOf(child.m_node);
    if (n && c && c.parent() == n)
        n.remove_child(c);
}

QString CXmlNodeWrapper::GetValue(const QString& attributeName) const
{
    const pugi::xml_node n = nodeOf(m_node);
    if (!n)
        return QString();
    return fromUtf8(n.attribute(attributeName.toUtf8().constData()).value());
}

void CXmlNodeWrapper::SetValue(const QString& attributeName, const QString& value)
{
    pugi::xml_node n = nodeOf(m_node);
    if (n.type() != pugi::node_element)
        return;
    const QByteArray name = attributeName.toUtf8();
    pugi::xml_attribute a = n.attribute(name.constData());
    if (!a)
        a = n.append_attribute(name.constData());
    a.set_value(value.toUtf8().constData());
}

void CXmlNodeWrapper::SetValue(const QString& attributeName, int value)
{
    SetValue(attributeName, QString::number(value));
}

int CXmlNodeWrapper::NumAttributes() const
{
    int count = 0;
    for (pugi::xml_attribute a = nodeOf(m_node).first_attribute(); a; a = a.next_attribute())
        ++count;
    return count;
}

static pugi::xml_attribute attributeAt(pugi::xml_node n, int index)
{
    if (index < 0)
        return {};
    pugi::xml_attribute a = n.first_attribute();
    while (a && index-- > 0)
        a = a.next_attribute();
    return a;
}

QString CXmlNodeWrapper::GetAttribName(int index) const
{
    return fromUtf8(attributeAt(nodeOf(m_node), index).name());
}

QString CXmlNodeWrapper::GetAttribVal(int index) const
{
    return fromUtf8(attributeAt(nodeOf(m_node), index).value());
}

void CXmlNodeWrapper::SetAttribValue(int index, const QString& value)
{
    pugi::xml_attribute a = attributeAt(nodeOf(m_node), index);
    if (a)
        a.set_value(value.toUtf8().constData());
}

QString CXmlNodeWrapper::GetText() const
{
    const pugi::xml_node n = nodeOf(m_node);
    if (n.type() != pugi::node_element)
        return fromUtf8(n.value());
    // The text of every descendant in document order (comments and
    // instructions are not text), walked without recursion.
    QByteArray all;
    int depth = 0;
    for (pugi::xml_node d = n.first_child(); d; d = nextInSubtree(d, n, d.type() == pugi::node_element, depth)) {
        if (d.type() == pugi::node_pcdata || d.type() == pugi::node_cdata)
            all += d.value();
    }
    return QString::fromUtf8(all);
}

void CXmlNodeWrapper::SetText(const QString& text)
{
    pugi::xml_node n = nodeOf(m_node);
    if (n.type() != pugi::node_element) {
        if (n)
            n.set_value(text.toUtf8().constData());
        return;
    }
    while (n.first_child())
        n.remove_child(n.first_child());
    if (!text.isEmpty())
        n.append_child(pugi::node_pcdata).set_value(text.toUtf8().constData());
}

int ParseLeadingInt(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\n' || text[i] == u'\r'
                               || text[i] == u'\v' || text[i] == u'\f'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    return int(std::clamp<long long>(value, INT_MIN, INT_MAX));
}
