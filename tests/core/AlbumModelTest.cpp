#include "editor/catalogues/Catalogues.h"
#include "editor/core/AlbumModel.h"
#include "editor/imaging/ThumbnailCache.h"
#include "tests/TestSupport.h"

#include <QSignalSpy>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <thread>

namespace {

// A registry that hands out one handle per path and counts references, so the
// tests can check that the album takes and gives back exactly one per photo.
class CountingRegistry : public ThumbnailRegistry {
public:
    ThumbHandle FindOrAddPhoto(const QString& path) override
    {
        if (path.contains("undecodable"))
            return 0;
        auto it = handles.find(path);
        if (it == handles.end())
            it = handles.emplace(path, int(handles.size()) + 1).first;
        return it->second;
    }
    ThumbHandle AcquirePhoto(const QString& path) override
    {
        const ThumbHandle h = FindOrAddPhoto(path);
        if (h != 0)
            AddReference(h);
        return h;
    }
    void AddReference(ThumbHandle h) override { ++references[h]; }
    void ReleaseReference(ThumbHandle h) override { --references[h]; }
    QString PathOf(ThumbHandle h) const override
    {
        for (const auto& [path, handle] : handles)
            if (handle == h)
                return path;
        return QString();
    }
    QImage PictureOf(ThumbHandle) const override { return QImage(); }
    int totalReferences() const
    {
        int total = 0;
        for (const auto& entry : references)
            total += entry.second;
        return total;
    }
    std::map<QString, ThumbHandle> handles;
    std::map<ThumbHandle, int> references;
};

class AlbumModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString app = TestSupport::MakeFolder("app");
        QByteArray xml = "<E>";
        for (int i = 0; i < 5; ++i)
            xml += "<Effect id=\"e" + QByteArray::number(i) + "\" png=\"p.png\"/>";
        TestSupport::WriteAll(EffectCatalogue::FilePath(app), xml + "</E>");
        TestSupport::WritePhoto(EffectCatalogue::PicturesFolder(app) + "p.png", 60, 48);
        ASSERT_EQ(effects.Load(app), 5);
        album = std::make_unique<AlbumModel>(registry, effects);
        album->SeedRandom(7);
    }

    // Storyboard and strip hold the same photos in the same order.
    void expectInStep() const
    {
        const auto order = album->StoryboardOrder();
        ASSERT_EQ(int(order.size()), album->Count());
        for (int i = 0; i < album->Count(); ++i) {
            EXPECT_EQ(album->Item(i).photo, order[size_t(i)]) << i;
            EXPECT_EQ(album->IndexOf(order[size_t(i)]), i);
        }
    }
    QStringList labels() const
    {
        QStringList out;
        for (int i = 0; i < album->Count(); ++i)
            out << album->Photo(i)->label;
        return out;
    }

    CountingRegistry registry;
    EffectCatalogue effects;
    std::unique_ptr<AlbumModel> album;
};

} // namespace

TEST_F(AlbumModelTest, AddInsertAndRemoveKeepBothListsInStep)
{
    QSignalSpy inserted(album.get(), &AlbumModel::PhotoInserted);
    EXPECT_EQ(album->AddPhoto("/p/a.jpg"), 0);
    EXPECT_EQ(album->AddPhoto("/p/b.jpg"), 1);
    EXPECT_EQ(album->AddPhoto("/p/c.jpg", 1), 1); // dropped between a and b
    EXPECT_EQ(album->AddPhoto("/p/d.jpg", 0), 0);
    EXPECT_EQ(album->AddPhoto("/p/undecodable.jpg"), -1);
    EXPECT_EQ(labels(), QStringList({"d.jpg", "a.jpg", "c.jpg", "b.jpg"}));
    EXPECT_EQ(inserted.count(), 4);
    expectInStep();
    EXPECT_EQ(registry.totalReferences(), 4);
    EXPECT_TRUE(album->Project().modified);
    EXPECT_EQ(album->PathOf(2), "/p/c.jpg");
    for (int i = 0; i < album->Count(); ++i) {
        EXPECT_TRUE(effects.IsValidIndex(album->Item(i).effect));
        EXPECT_EQ(album->Item(i).effectPicture, effects.Entry(album->Item(i).effect).picture);
        EXPECT_EQ(album->Item(i).caption, nullptr);
        EXPECT_EQ(album->Item(i).brightness, 0);
    }

    album->RemovePhoto(-1);
    album->RemovePhoto(album->Count());
    EXPECT_EQ(album->Count(), 4);
    album->SetCurrentIndex(3);
    album->RemovePhoto(1);
    EXPECT_EQ(album->CurrentIndex(), 2); // the current entry lay after the removed one
    EXPECT_EQ(labels(), QStringList({"d.jpg", "c.jpg", "b.jpg"}));
    expectInStep();
    EXPECT_EQ(registry.totalReferences(), 3);
}

TEST_F(AlbumModelTest, RemovingTheLastPhotoEmptiesTheAlbumAndSaysSo)
{
    QSignalSpy empty(album.get(), &AlbumModel::BecameEmpty);
    album->AddPhoto("/p/a.jpg");
    album->CaptionOf(0)->lines = QStringList{"x"};
    album->RemovePhoto(0);
    EXPECT_TRUE(album->IsEmpty());
    EXPECT_EQ(empty.count(), 1);
    EXPECT_EQ(registry.totalReferences(), 0);
    EXPECT_EQ(album->PathOf(0), QString());
}

TEST_F(AlbumModelTest, ReorderBothWaysAndClear)
{
    for (const char* name : {"/p/a.jpg", "/p/b.jpg", "/p/c.jpg", "/p/d.jpg"})
        album->AddPhoto(QString::fromLatin1(name));
    album->SetCaptionUrl(1, "http://b");
    const int effectOfB = album->Item(1).effect;

    // The storyboard shows d, b, a, c: the strip follows.
    const auto before = album->StoryboardOrder();
    std::vector<PhotoItem*> order{const_cast<PhotoItem*>(before[3]), const_cast<PhotoItem*>(before[1]),
                                  const_cast<PhotoItem*>(before[0]), const_cast<PhotoItem*>(before[2])};
    album->ReorderFromStoryboard(order);
    EXPECT_EQ(labels(), QStringList({"d.jpg", "b.jpg", "a.jpg", "c.jpg"}));
    expectInStep();
    EXPECT_EQ(album->Item(1).caption->url, "http://b"); // the record moved with its photo
    EXPECT_EQ(album->Item(1).effect, effectOfB);

    // Not a permutation: ignored.
    album->ReorderFromStoryboard({order[0], order[0], order[1], order[2]});
    EXPECT_EQ(labels(), QStringList({"d.jpg", "b.jpg", "a.jpg", "c.jpg"}));

    // Strip edits: move, exchange photos, exchange transitions.
    album->MovePhoto(0, 3);
    EXPECT_EQ(labels(), QStringList({"b.jpg", "a.jpg", "c.jpg", "d.jpg"}));
    expectInStep();
    album->MovePhoto(3, 0);
    EXPECT_EQ(labels(), QStringList({"d.jpg", "b.jpg", "a.jpg", "c.jpg"}));
    album->ExchangePhotos(0, 2);
    EXPECT_EQ(labels(), QStringList({"a.jpg", "b.jpg", "d.jpg", "c.jpg"}));
    expectInStep();
    album->SetEffect(0, 0);
    album->SetEffect(3, 4);
    album->ExchangeTransitions(0, 3);
    EXPECT_EQ(album->Item(0).effect, 4);
    EXPECT_EQ(album->Item(3).effect, 0);
    EXPECT_EQ(album->Item(0).effectPicture, effects.Entry(4).picture);
    EXPECT_EQ(labels(), QStringList({"a.jpg", "b.jpg", "d.jpg", "c.jpg"})); // photos stay

    album->Clear();
    EXPECT_EQ(album->Count(), 0);
    expectInStep();
    EXPECT_EQ(registry.totalReferences(), 0);
}

TEST_F(AlbumModelTest, EffectsDescribeTheTransitionAfterAPhoto)
{
    for (const char* name : {"/p/1.jpg", "/p/2.jpg", "/p/3.jpg"})
        album->AddPhoto(QString::fromLatin1(name));
    album->SetEffect(0, 1);
    album->SetEffect(1, 2);
    album->SetEffect(2, 3);
    album->SetEffect(2, 99); // outside the catalogue: refused
    EXPECT_EQ(album->EffectLeadingInto(0), 3); // photo 1 comes on with the effect of photo 3
    EXPECT_EQ(album->EffectLeadingInto(1), 1);
    EXPECT_EQ(album->EffectLeadingInto(2), 2);
    album->SetEffectForAll(4);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(album->Item(i).effect, 4);
}

TEST_F(AlbumModelTest, RandomEffectsRepeatForTheSameSeed)
{
    std::vector<int> first, second;
    for (int i = 0; i < 20; ++i)
        first.push_back(album->RandomEffect());
    album->SeedRandom(7);
    for (int i = 0; i < 20; ++i)
        second.push_back(album->RandomEffect());
    EXPECT_EQ(first, second);
    EXPECT_GT(std::set<int>(first.begin(), first.end()).size(), 1u);
}

TEST_F(AlbumModelTest, CaptionStateFollowsTheFirstLine)
{
    album->AddPhoto("/p/a.jpg");
    const struct {
        QStringList lines;
        int state;
    } cases[] = {
        {{}, Caption::NoText}, {{""}, Caption::NoText}, {{"", "second"}, Caption::NoText},
        {{"first"}, Caption::HasText}, {{"first", ""}, Caption::HasText},
    };
    for (const auto& c : cases) {
        album->SetCaptionContent(0, CaptionBox{1, 2, 3, 4}, c.lines, 0x0000ff, 20, "Sans");
        EXPECT_EQ(album->Item(0).caption->state, c.state) << c.lines.join('|').toStdString();
    }
    EXPECT_EQ(album->Item(0).caption->box, (CaptionBox{1, 2, 3, 4}));
    const Caption fresh;
    EXPECT_TRUE(fresh.box.IsEmpty());
    EXPECT_EQ(fresh.state, 0);
    EXPECT_EQ(fresh.colour, 0u);
}

// Every operation takes a stale or wrong index quietly: readers get an empty
// record, writers change nothing.
TEST_F(AlbumModelTest, BadIndexesReadEmptyAndChangeNothing)
{
    album->AddPhoto("/p/a.jpg");
    album->SetCaptionUrl(0, "http://a");
    album->SetModified(false);
    for (const int index : {-1, 1, 1000}) {
        SCOPED_TRACE(index);
        ASSERT_NE(album->Photo(index), nullptr);
        EXPECT_EQ(album->Photo(index)->thumbnail, 0);
        EXPECT_EQ(album->Photo(index)->label, QString());
        EXPECT_EQ(album->Item(index).photo, nullptr);
        EXPECT_EQ(album->Item(index).caption, nullptr);
        EXPECT_EQ(album->CaptionOf(index), nullptr);
        EXPECT_EQ(album->PathOf(index), QString());
        EXPECT_EQ(album->EffectLeadingInto(index), -1);
        album->SetCaptionContent(index, CaptionBox{1, 2, 3, 4}, {"x"}, 0, 10, "Sans");
        album->SetCaptionUrl(index, "http://x");
        album->SetEffect(index, 1);
        album->RemovePhoto(index);
    }
    EXPECT_EQ(album->Count(), 1);
    EXPECT_EQ(album->Item(0).caption->url, "http://a");
    EXPECT_EQ(album->Photo(0)->label, "a.jpg");
    EXPECT_FALSE(album->Project().modified);
}

TEST_F(AlbumModelTest, ModifiedFlagAndProjectReset)
{
    EXPECT_FALSE(album->Project().modified);
    album->SetStayTime(5);
    album->SetMusic("None");
    album->SetTemplateIndex(2);
    EXPECT_FALSE(album->Project().modified); // settings do not mark the album modified
    EXPECT_TRUE(album->Settings().HasNoMusic());
    album->SetStayTime(42);
    EXPECT_EQ(album->Settings().stayTime, 9);
    album->AddPhoto("/p/a.jpg");
    EXPECT_TRUE(album->Project().modified);
    album->SetProjectFolder("/albums/Trip");
    album->SetOpened(true);
    album->ResetProject();
    EXPECT_EQ(album->Project().folder, QString());
    EXPECT_FALSE(album->Project().opened);
    EXPECT_FALSE(album->Project().modified);
    EXPECT_TRUE(album->Project().untitled);
}

// A thumbnail cache in which another thread (a thumbnail worker showing
// another folder) switches the folder just before a reference is taken.
class SwitchingCache : public ThumbnailCache {
public:
    void AddReference(ThumbHandle handle) override
    {
        if (!switchTo.isEmpty()) {
            std::thread worker([this] { AddPhoto(switchTo); });
            worker.join();
        }
        ThumbnailCache::AddReference(handle);
    }
    QString switchTo;
};

TEST(AlbumModelWithCache, AFolderSwitchCannotDropAPhotoBeingAdded)
{
    const QString photo = TestSupport::WritePhoto(TestSupport::MakeFolder("switchA") + "/p.jpg", 400, 300);
    SwitchingCache cache;
    cache.switchTo = TestSupport::WritePhoto(TestSupport::MakeFolder("switchB") + "/q.jpg", 400, 300);
    EffectCatalogue effects;
    AlbumModel album(cache, effects);
    ASSERT_EQ(album.AddPhoto(photo), 0);
    EXPECT_EQ(cache.CurrentFolder(), TestSupport::TempDir() + "switchB");
    EXPECT_EQ(album.PathOf(0), photo);
    EXPECT_EQ(cache.EntryOfId(album.Photo(0)->thumbnail)->references, 1);
}
