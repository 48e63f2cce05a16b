#include "editor/core/StringTable.h"

namespace Strings {

QString Load(int id)
{
    switch (id) {
    case OleInitFailed:
        return QStringLiteral("OLE initialization failed.  Make sure that the OLE libraries are the correct version.");
    case PlayerMissing:
        return QStringLiteral(
            "Movie player component (Qt WebEngine) is not installed on your system. QEM can not run properly "
            "without it. Would you like to download and install the latest version of movie player component "
            "(Qt WebEngine) now?");
    case PlayerTooOld:
        return QStringLiteral(
            "An old version of movie player component (Qt WebEngine) is detected on your system. Vantri QEM can "
            "not run properly without movie player component (Qt WebEngine) V90 or later installed. Would you "
            "like to download and install the latest version now?");
    case PlayerHelpPage: return QStringLiteral("support/flash.htm");
    case ReadPhotoFailed: return QStringLiteral("读取照片失败");
    case HelpFileMissing: return QStringLiteral("找不到帮助文件");
    case ApplyEffectToAll: return QStringLiteral("应用效果到所有图片?");
    case ResourceLoadFailed: return QStringLiteral("资源读取失败!\n请重新安装软件");
    case AlbumHasNoPhotos: return QStringLiteral("这个影集没有图片");
    case ChoosePhotosFirst: return QStringLiteral("制作影集前请选择图片");
    case LoadAlbumFailed: return QStringLiteral("载入影集失败");
    case FolderHoldsProject: return QStringLiteral("该目录已经存在工程文件请修改到其他目录");
    case SaveAlbumTitle: return QStringLiteral("保存影集");
    case CreateFolderQuestion: return QStringLiteral("目录不存在，现在创建?");
    case CreateFolderFailed: return QStringLiteral("创建目录失败\n目录名称不合法");
    case DeepFolderQuestion: return QStringLiteral("目录太深会比较难办\n是否继续?");
    case NewVersionAvailable:
        return QStringLiteral("A new version of Vantri Kelvana is available.\n\nYour version is: %s.%s\nCurrent "
                              "version is: %s.%s\n\nDo you want to get it?");
    case Generating: return QStringLiteral("生成");
    case PackingAlbum: return QStringLiteral("压缩影集...");
    case GenerateFailed: return QStringLiteral("生成影集失败");
    case UploadSteps:
        return QStringLiteral(
            "Steps of uploading your album:\n1. Register an album account by clicking \"Get an account\". If you "
            "have one, input Email and password to login.\n2. After login, fill in \"Album Name\", \"Album "
            "Description\" and \"Your Album Tag\".\n3. Click the button \"Copy\" to copy the file path shown at the "
            "top. And then, click the button \"Browse\" besides \"Select Album Zip\" to paste the copied file path "
            "in the \"File name\" field of popup window. Click \"Open\" to make sure of the selection.\n4. Click "
            "the button \"Upload File\" to upload your photo album.\nNote: The fields signed with * should be "
            "filled.");
    case ProductTitle: return QStringLiteral("Vantri Kelvana");
    default: return QString();
    }
}

} // namespace Strings
