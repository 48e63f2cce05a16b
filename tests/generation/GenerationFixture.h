// A small installation for generation tests: an effects catalogue of three
// effects and two templates, each in its own folder with a movie, its
// configuration, default music and sample pictures. "Plain" shows no
// thumbnails (640 x 480); "Strip" does (800 x 600).
#pragma once

#include "editor/catalogues/Catalogues.h"
#include "editor/core/AlbumModel.h"
#include "editor/core/WorkingCopyMap.h"
#include "editor/imaging/DisplayCopies.h"
#include "editor/imaging/ThumbnailCache.h"
#include "tests/TestSupport.h"

#include <QDir>
#include <gtest/gtest.h>
#include <memory>

class GenerationFixture : public ::testing::Test {
protected:
    enum Template { Plain = 0, Strip = 1 };

    void SetUp() override
    {
        app = TestSupport::MakeFolder("app") + "/";
        TestSupport::WriteAll(EffectCatalogue::FilePath(app),
                              "<E><Effect id=\"fade\" png=\"p.png\"/><Effect id=\"wipeLeft\" png=\"p.png\"/>"
                              "<Effect id=\"iris\" png=\"p.png\"/></E>");
        const QString templates = TemplateCatalogue::FolderOf(app);
        TestSupport::WriteAll(templates + "Templates.xml",
                              "<Templates>"
                              "<Template xml=\"Plain/plain.xml\" thumb=\"false\" tplname=\"Plain\" "
                              "tplfname=\"Plain/plain.js\" png=\"plain.png\" w=\"640\" h=\"480\"/>"
                              "<Template xml=\"Strip/strip.xml\" thumb=\"true\" tplname=\"Strip\" "
                              "tplfname=\"Strip/strip.js\" png=\"strip.png\" w=\"800\" h=\"600\"/>"
                              "</Templates>");
        for (const char* name : {"Plain/plain", "Strip/strip"}) {
            const QString base = templates + QString::fromLatin1(name);
            const QString folder = base.left(base.lastIndexOf('/') + 1);
            const QString stem = base.mid(base.lastIndexOf('/') + 1);
            TestSupport::WriteAll(base + ".js", "// movie " + stem.toUtf8() + "\n");
            TestSupport::WriteAll(base + ".xml", TemplateXml(stem));
            TestSupport::WriteAll(folder + "res/" + stem + ".mp3", "ID3 music " + stem.toUtf8());
            TestSupport::WritePhoto(folder + "photo/sample1.jpg", 320, 240);
            TestSupport::WritePhoto(folder + "Thumbs/sample1.jpg", 96, 72);
        }
        ASSERT_EQ(EffectCatalogue::instance().Load(app), 3);
        ASSERT_EQ(TemplateCatalogue::instance().Load(app), 2);
        album = std::make_unique<AlbumModel>(ThumbnailCache::Instance(), EffectCatalogue::instance());
        AlbumModel::SetInstance(album.get());
        pictures = TestSupport::MakeFolder("pictures") + "/";
    }

    void TearDown() override
    {
        AlbumModel::SetInstance(nullptr);
        DisplayCopies::Instance().ClearView();
        WorkingCopyMap::Instance().DiscardAll();
    }

    static QByteArray TemplateXml(const QString& stem)
    {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<config>\n"
               "\t<!-- the template's own settings -->\n"
               "\t<preferences>\n\t\t<global>\n"
               "\t\t\t<basic_property movieWidth=\"640\" movieHeight=\"480\" startAutoPlay=\"false\" "
               "backgroundColor=\"#000000\" />\n"
               "\t\t\t<music_property volume=\"80\" path=\"res/" + stem.toUtf8() + ".mp3\" loop=\"true\" />\n"
               "\t\t</global>\n\t\t<theme colour=\"red\" />\n\t</preferences>\n"
               "\t<album>\n"
               "\t\t<slide jpegURL=\"Thumbs/sample1.jpg\" d_URL=\"photo/sample1.jpg\" transition=\"fade\" "
               "panzoom=\"1\" URLTarget=\"0\" phototime=\"3\" url=\"\" title=\"http_imgload\" />\n"
               "\t\t<slide d_URL=\"photo/sample2.jpg\" transition=\"iris\" phototime=\"5\" />\n"
               "\t</album>\n</config>\n";
    }

    // Adds a photo written at pictures/relative.
    int addPhoto(const QString& relative, int width = 800, int height = 600, QColor tint = QColor(200, 120, 60))
    {
        return album->AddPhoto(TestSupport::WritePhoto(pictures + relative, width, height, tint));
    }

    QString templateFolder(int index) const
    {
        return TemplateCatalogue::FolderOf(app) + (index == Plain ? "Plain/" : "Strip/");
    }

    QString app;
    QString pictures;
    std::unique_ptr<AlbumModel> album;
};
