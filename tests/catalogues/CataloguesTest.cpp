#include "editor/catalogues/Catalogues.h"
#include "tests/TestSupport.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

// A program folder with the given catalogue texts (null: no file).
QString makeAppDir(const QByteArray& effects, const QByteArray& templates)
{
    const QString app = TestSupport::MakeFolder("app");
    if (!effects.isNull())
        TestSupport::WriteAll(EffectCatalogue::FilePath(app), effects);
    if (!templates.isNull())
        TestSupport::WriteAll(TemplateCatalogue::FilePath(app), templates);
    return app;
}

} // namespace

TEST(EffectCatalogue, WalkFindsEffectNodesDepthFirstOfEveryKind)
{
    QString app = makeAppDir("<root><Effect id=\"first\" png=\"a.png\" id=\"dup\"/></root>", QByteArray());
    EffectCatalogue catalogue;
    ASSERT_EQ(catalogue.Load(app), 1);
    EXPECT_EQ(catalogue.Entry(0).id, "dup"); // a repeated attribute keeps its later value
    EXPECT_EQ(catalogue.Entry(0).pictureFile, "a.png");

    app = makeAppDir("<root>"
                     "<Effect id=\"outer\" png=\"o.png\" name=\"Outer\"><Effect id=\"inner\" name=\"Inner\"/></Effect>"
                     "<group><effect id=\"lower\"/><x:Effect xmlns:x=\"urn:x\" id=\"ns\"/></group>"
                     "<t>Effect</t><!--Effect-->"
                     "</root>",
                     QByteArray());
    ASSERT_EQ(catalogue.Load(app), 5);
    EXPECT_EQ(catalogue.Entry(0).id, "outer"); // an entry comes before its descendants
    EXPECT_EQ(catalogue.Entry(0).name, "Outer");
    EXPECT_EQ(catalogue.Entry(1).id, "inner");
    EXPECT_EQ(catalogue.Entry(2).id, "ns");    // local name without prefix
    EXPECT_EQ(catalogue.Entry(3).id, QString()); // the text node "Effect"
    EXPECT_EQ(catalogue.Entry(4).id, QString()); // the comment "Effect"
    EXPECT_EQ(catalogue.IndexOfId("inner"), 1);
    EXPECT_EQ(catalogue.IndexOfId("lower"), -1);
}

TEST(EffectCatalogue, MissingEmptyAndBrokenFiles)
{
    EffectCatalogue catalogue;
    EXPECT_EQ(catalogue.Load(makeAppDir(QByteArray(), QByteArray())), -1);
    EXPECT_EQ(catalogue.Load(makeAppDir("", QByteArray())), 0);
    EXPECT_EQ(catalogue.Load(makeAppDir("<Effects><Effect id=\"a\"", QByteArray())), 0);
    EXPECT_EQ(catalogue.Load(makeAppDir("\xff\xfe\x00garbage", QByteArray())), 0);
    EXPECT_EQ(catalogue.Load(makeAppDir("<Effects/>", QByteArray())), 0);
    EXPECT_EQ(catalogue.Count(), 0);
}

TEST(EffectCatalogue, PicturesLoadByContentAndMissingOnesStayNull)
{
    const QString app = makeAppDir("<E><Effect id=\"a\" png=\"a.png\"/><Effect id=\"b\" png=\"gone.png\"/>"
                                   "<Effect id=\"c\" png=\"c.png\"/></E>",
                                   QByteArray());
    TestSupport::WritePhoto(EffectCatalogue::PicturesFolder(app) + "a.png", 60, 48);
    // A JPEG under a .png name still loads: the decoder is chosen by content.
    TestSupport::WritePhoto(EffectCatalogue::PicturesFolder(app) + "c.jpg", 40, 30);
    QDir().rename(EffectCatalogue::PicturesFolder(app) + "c.jpg", EffectCatalogue::PicturesFolder(app) + "c.png");
    EffectCatalogue catalogue;
    ASSERT_EQ(catalogue.Load(app), 3);
    EXPECT_EQ(catalogue.Entry(0).picture.size(), QSize(60, 48));
    EXPECT_TRUE(catalogue.Entry(1).picture.isNull());
    EXPECT_EQ(catalogue.Entry(2).picture.size(), QSize(40, 30));
}

TEST(TemplateCatalogue, AttributesAndFolderPrefix)
{
    const QString app = makeAppDir(QByteArray(),
                                   "<Templates>"
                                   "<Template xml=\"a.xml\" thumb=\"true\" tplname=\"A\" tplfname=\"a.js\" png=\"a.png\" "
                                   "w=\"800px\" h=\"600\" other=\"x\"/>"
                                   "<nest><Template xml=\"b.xml\" thumb=\"True\" w=\"abc\"/></nest>"
                                   "<template xml=\"lower.xml\"/>"
                                   "</Templates>");
    TemplateCatalogue catalogue;
    ASSERT_EQ(catalogue.Load(app), 2);
    const TemplateEntry& a = catalogue.Entry(0);
    EXPECT_EQ(a.configurationPath, TemplateCatalogue::FolderOf(app) + "a.xml");
    EXPECT_EQ(a.moviePath, TemplateCatalogue::FolderOf(app) + "a.js");
    EXPECT_EQ(a.name, "A");
    EXPECT_EQ(a.pictureFile, "a.png");
    EXPECT_EQ(a.width, 800); // leading digits
    EXPECT_EQ(a.height, 600);
    EXPECT_TRUE(a.thumbnails);
    const TemplateEntry& b = catalogue.Entry(1);
    EXPECT_FALSE(b.thumbnails); // "True" is not "true"
    EXPECT_EQ(b.width, 0);
    EXPECT_EQ(b.height, 0);
    EXPECT_EQ(b.moviePath, TemplateCatalogue::FolderOf(app)); // missing attribute: folder alone
    EXPECT_EQ(catalogue.Load(makeAppDir(QByteArray(), QByteArray())), -1);
}

// The template previews have 20 slots: a longer catalogue keeps its first 20.
TEST(TemplateCatalogue, TakesAtMostTwentyTemplates)
{
    QByteArray xml = "<Templates>";
    for (int i = 0; i < 25; ++i)
        xml += "<Template tplname=\"t" + QByteArray::number(i) + "\"/>";
    TemplateCatalogue catalogue;
    ASSERT_EQ(catalogue.Load(makeAppDir(QByteArray(), xml + "</Templates>")), 20);
    EXPECT_EQ(catalogue.Entry(19).name, "t19");
}

// A wrong index reads an empty entry instead of ending the program.
TEST(Catalogues, BadIndexesReadEmptyEntries)
{
    const QString app = makeAppDir("<E><Effect id=\"a\"/></E>", "<T><Template tplname=\"A\" w=\"9\"/></T>");
    EffectCatalogue effects;
    TemplateCatalogue templates;
    ASSERT_EQ(effects.Load(app), 1);
    ASSERT_EQ(templates.Load(app), 1);
    for (const int index : {-1, 1, 1000}) {
        SCOPED_TRACE(index);
        EXPECT_EQ(effects.Entry(index).id, QString());
        EXPECT_TRUE(effects.Entry(index).picture.isNull());
        EXPECT_EQ(templates.Entry(index).name, QString());
        EXPECT_EQ(templates.Entry(index).moviePath, QString());
        EXPECT_EQ(templates.Entry(index).width, 0);
    }
    EXPECT_EQ(effects.Entry(0).id, "a");
    EXPECT_EQ(templates.Entry(0).width, 9);
}

TEST(Catalogues, ShippedCataloguesLoadWithAllPictures)
{
    EffectCatalogue effects;
    TemplateCatalogue templates;
    ASSERT_GE(effects.Load(TestSupport::AppDir()), 1);
    ASSERT_GE(templates.Load(TestSupport::AppDir()), 1);
    for (int i = 0; i < effects.Count(); ++i) {
        EXPECT_FALSE(effects.Entry(i).id.isEmpty()) << i;
        EXPECT_FALSE(effects.Entry(i).picture.isNull()) << effects.Entry(i).id.toStdString();
    }
    for (int i = 0; i < templates.Count(); ++i) {
        const TemplateEntry& t = templates.Entry(i);
        EXPECT_TRUE(QFileInfo(t.configurationPath).isFile()) << t.configurationPath.toStdString();
        EXPECT_TRUE(QFileInfo(templates.Folder() + t.pictureFile).isFile()) << t.pictureFile.toStdString();
        EXPECT_GT(t.width, 0);
        EXPECT_GT(t.height, 0);
    }
}
