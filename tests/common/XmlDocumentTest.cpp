#include "common/XmlDocument.h"
#include "tests/TestSupport.h"

#include <QDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

QString writeXml(const QString& name, const QByteArray& text)
{
    const QString path = TestSupport::TempDir() + name;
    TestSupport::WriteAll(path, text);
    return path;
}

} // namespace

TEST(XmlDocument, NewDocumentHasSaveDatasRoot)
{
    CXmlDocumentWrapper doc;
    ASSERT_TRUE(doc.LoadXML(QString::fromLatin1(CXmlDocumentWrapper::NewDocumentText)));
    EXPECT_EQ(doc.AsNode().LocalName(), QStringLiteral("SaveDatas"));
    EXPECT_EQ(doc.AsNode().NumNodes(), 0);
}

TEST(XmlDocument, LoadFailuresReportFalseAndLeaveANullRoot)
{
    const struct {
        const char* name;
        QByteArray text;
    } cases[] = {
        {"empty.xml", ""},
        {"garbage.xml", "\x01\x02not xml at all"},
        {"truncated.xml", "<a><b x=\"1\"></b>"},
        {"two-roots.xml", "<a/><b/>"},
    };
    for (const auto& c : cases) {
        CXmlDocumentWrapper doc;
        EXPECT_FALSE(doc.Load(writeXml(QString::fromLatin1(c.name), c.text))) << c.name;
        EXPECT_FALSE(doc.AsNode().IsValid()) << c.name;
        EXPECT_EQ(doc.AsNode().Find(QStringLiteral("b")).GetValue(QStringLiteral("x")), QString()) << c.name;
    }
    CXmlDocumentWrapper missing;
    EXPECT_FALSE(missing.Load(TestSupport::TempDir() + "nothing-here.xml"));
}

TEST(XmlDocument, NullNodesAnswerEmpty)
{
    CXmlNodeWrapper null;
    EXPECT_FALSE(null.IsValid());
    EXPECT_EQ(null.NumNodes(), 0);
    EXPECT_EQ(null.NumAttributes(), 0);
    EXPECT_EQ(null.GetValue(QStringLiteral("a")), QString());
    EXPECT_EQ(null.GetText(), QString());
    EXPECT_FALSE(null.GetNode(0).IsValid());
    EXPECT_FALSE(null.Find(QStringLiteral("x")).IsValid());
    EXPECT_FALSE(null.AppendNode(QStringLiteral("x")).IsValid());
    null.SetValue(QStringLiteral("a"), QStringLiteral("b")); // no crash
}

TEST(XmlDocument, InsertAppendAndAttributeOrderSurviveSaveAndLoad)
{
    CXmlDocumentWrapper doc;
    ASSERT_TRUE(doc.LoadXML(QString::fromLatin1(CXmlDocumentWrapper::NewDocumentText)));
    CXmlNodeWrapper root = doc.AsNode();
    CXmlNodeWrapper project = root.InsertNode(0, QStringLiteral("project"));
    project.SetValue(QStringLiteral("numphotos"), 3);
    project.SetValue(QStringLiteral("year"), 2026);
    root.InsertNode(0, QStringLiteral("template")).SetValue(QStringLiteral("curID"), 0);
    root.InsertNode(1, QStringLiteral("photos"));
    root.InsertNode(99, QStringLiteral("tail")); // no such child: appended
    project.SetValue(QStringLiteral("numphotos"), 4); // replaces in place

    const QString path = TestSupport::TempDir() + "order.xml";
    ASSERT_TRUE(doc.Save(path));
    CXmlDocumentWrapper again;
    ASSERT_TRUE(again.Load(path));
    const CXmlNodeWrapper r = again.AsNode();
    ASSERT_EQ(r.NumNodes(), 4);
    EXPECT_EQ(r.GetNode(0).LocalName(), QStringLiteral("template"));
    EXPECT_EQ(r.GetNode(1).LocalName(), QStringLiteral("photos"));
    EXPECT_EQ(r.GetNode(2).LocalName(), QStringLiteral("project"));
    EXPECT_EQ(r.GetNode(3).LocalName(), QStringLiteral("tail"));
    const CXmlNodeWrapper p = r.Find(QStringLiteral("project"));
    ASSERT_EQ(p.NumAttributes(), 2);
    EXPECT_EQ(p.GetAttribName(0), QStringLiteral("numphotos"));
    EXPECT_EQ(p.GetAttribVal(0), QStringLiteral("4"));
    EXPECT_EQ(p.GetAttribName(1), QStringLiteral("year"));
    EXPECT_EQ(p.GetAttribName(2), QString());
}

TEST(XmlDocument, TextRemoveAndUnicodeRoundTrip)
{
    CXmlDocumentWrapper doc;
    ASSERT_TRUE(doc.LoadXML(QStringLiteral("<r><a>x &amp; y</a><b/><c/></r>")));
    CXmlNodeWrapper root = doc.AsNode();
    EXPECT_EQ(root.Find(QStringLiteral("a")).GetText(), QStringLiteral("x & y"));
    root.RemoveNode(root.Find(QStringLiteral("b")));
    EXPECT_EQ(root.NumNodes(), 2);
    CXmlNodeWrapper c = root.Find(QStringLiteral("c"));
    c.SetText(QStringLiteral("第一行\n<second>"));
    c.SetValue(QStringLiteral("font"), QStringLiteral("微软雅黑 \"q\""));
    const QString path = TestSupport::TempDir() + "text.xml";
    ASSERT_TRUE(doc.Save(path));
    CXmlDocumentWrapper again;
    ASSERT_TRUE(again.Load(path));
    const CXmlNodeWrapper c2 = again.AsNode().Find(QStringLiteral("c"));
    EXPECT_EQ(c2.GetText(), QStringLiteral("第一行\n<second>"));
    EXPECT_EQ(c2.GetValue(QStringLiteral("font")), QStringLiteral("微软雅黑 \"q\""));
}

// Text that is only blanks or line ends, and carriage returns, read back as
// written; blanks between elements stay layout, not nodes.
TEST(XmlDocument, TextKeepsBlanksAndCarriageReturns)
{
    const QStringList texts{"\n", "  ", "\t", "\r", "a\r\nb", " x \n"};
    CXmlDocumentWrapper doc;
    ASSERT_TRUE(doc.LoadXML(QString::fromLatin1(CXmlDocumentWrapper::NewDocumentText)));
    for (const QString& text : texts)
        doc.AsNode().AppendNode(QStringLiteral("t")).SetText(text);
    const QString path = TestSupport::TempDir() + "blanks.xml";
    ASSERT_TRUE(doc.Save(path));
    EXPECT_FALSE(TestSupport::ReadAll(path).contains('\r')); // written as references, which any reader keeps

    CXmlDocumentWrapper again;
    ASSERT_TRUE(again.Load(path));
    const CXmlNodeWrapper root = again.AsNode();
    ASSERT_EQ(root.ChildNodes().size(), size_t(texts.size()));
    for (int i = 0; i < texts.size(); ++i)
        EXPECT_EQ(root.GetNode(i).GetText(), texts[i]) << i;
}

// Nesting is bounded when loading, and reading text walks without recursion.
TEST(XmlDocument, DeepNestingIsRefusedAndTextIsReadIteratively)
{
    const auto nested = [](int depth) {
        return QString("<a>").repeated(depth - 1) + "<b>x</b>y" + QString("</a>").repeated(depth - 1);
    };
    CXmlDocumentWrapper doc;
    ASSERT_TRUE(doc.LoadXML(nested(255))); // 255 elements and the text inside the deepest
    EXPECT_EQ(doc.AsNode().GetText(), "xy");
    EXPECT_FALSE(doc.LoadXML(nested(257)));
    EXPECT_FALSE(doc.AsNode().IsValid());
    EXPECT_FALSE(doc.Load(writeXml("deep.xml", nested(100000).toUtf8())));
}

TEST(XmlDocument, SaveWithEmptyPathWritesBackAndFailureKeepsOldFile)
{
    const QString path = writeXml("back.xml", "<r a=\"1\"/>");
    CXmlDocumentWrapper doc;
    ASSERT_TRUE(doc.Load(path));
    doc.AsNode().SetValue(QStringLiteral("a"), QStringLiteral("2"));
    ASSERT_TRUE(doc.Save());
    CXmlDocumentWrapper again;
    ASSERT_TRUE(again.Load(path));
    EXPECT_EQ(again.AsNode().GetValue(QStringLiteral("a")), QStringLiteral("2"));
    EXPECT_FALSE(doc.Save(TestSupport::TempDir() + "no/such/folder/x.xml"));
}

TEST(XmlDocument, SaveOnAFullDiskKeepsTheOldFile)
{
    const QString path = writeXml("full.xml", "<r a=\"1\"/>");
    const QByteArray before = TestSupport::ReadAll(path);
    CXmlDocumentWrapper doc;
    ASSERT_TRUE(doc.Load(path));
    doc.AsNode().SetValue(QStringLiteral("a"), QString(2000, QLatin1Char('x')));
    // No file of this process may grow beyond 100 bytes: the buffered write
    // fails only when it is flushed.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{100, RLIM_INFINITY};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    const bool saved = doc.Save();
    limit.rlim_cur = RLIM_INFINITY;
    setrlimit(RLIMIT_FSIZE, &limit);
    EXPECT_FALSE(saved);
    EXPECT_EQ(TestSupport::ReadAll(path), before);
    EXPECT_EQ(QDir(TestSupport::TempDir()).entryList({"full.xml*"}, QDir::Files | QDir::Hidden),
              QStringList{"full.xml"});
}

TEST(XmlDocument, ChildNodesGiveEveryKindWithWalkNames)
{
    CXmlDocumentWrapper doc;
    ASSERT_TRUE(doc.LoadXML(QStringLiteral("<r xmlns:k=\"urn:k\"><k:Effect/>Effect<!--Effect--><x/></r>")));
    const std::vector<CXmlNodeWrapper> children = doc.AsNode().ChildNodes();
    ASSERT_EQ(children.size(), 4u);
    EXPECT_EQ(children[0].NodeKind(), CXmlNodeWrapper::Kind::Element);
    EXPECT_EQ(children[0].WalkName(), QStringLiteral("Effect")); // local name, prefix dropped
    EXPECT_EQ(children[1].NodeKind(), CXmlNodeWrapper::Kind::Text);
    EXPECT_EQ(children[1].WalkName(), QStringLiteral("Effect"));
    EXPECT_EQ(children[2].NodeKind(), CXmlNodeWrapper::Kind::Comment);
    EXPECT_EQ(children[2].WalkName(), QStringLiteral("Effect"));
    EXPECT_EQ(doc.AsNode().NumNodes(), 2); // elements only
}

TEST(XmlDocument, ParseLeadingInt)
{
    const struct {
        const char* text;
        int value;
    } cases[] = {
        {"42", 42}, {"-7", -7}, {"+8", 8}, {"  12abc", 12}, {"abc", 0}, {"", 0},
        {"3.9", 3}, {"-", 0}, {"99999999999", 2147483647}, {"-99999999999", -2147483647 - 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseLeadingInt(QString::fromLatin1(c.text)), c.value) << c.text;
}
