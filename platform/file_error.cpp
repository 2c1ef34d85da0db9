#include "platform/file_error.h"

#include <cerrno>
#include <cstring>

namespace plat {

std::string FileErrorReason(int err) {
  switch (err) {
    case ENOENT: return "ファイルまたはフォルダが見つかりません。";
    case EACCES:
    case EPERM: return "アクセスが拒否されました。";
    case EEXIST: return "同じ名前のファイルが既にあります。";
    case ENOSPC: return "ディスクの空き容量が足りません。";
    case EDQUOT: return "ディスクの割り当て容量を超えました。";
    case EIO: return "入出力エラーが起きました。";
    case EROFS: return "書き込みが禁止されたディスクです。";
    case EBUSY:
    case ETXTBSY: return "ファイルが使用中です。";
    case ENOTDIR: return "パスの途中がフォルダではありません。";
    case EISDIR: return "フォルダです。";
    case ENAMETOOLONG: return "名前が長すぎます。";
    case EMFILE:
    case ENFILE: return "開いているファイルが多すぎます。";
    case EXDEV: return "別のドライブへは移動できません。";
    case EFBIG: return "ファイルが大きすぎます。";
    case EBADF: return "ファイルが開かれていません。";
    case ESTALE: return "処理の間に他のアプリケーションによって変更されました。";
    case ELOOP: return "リンクが多すぎるか、循環しています。";
    case kErrNotRegularFile: return "通常のファイルではありません (パイプ、デバイスなど)。";
    case kErrOutsideFolder: return "共有ログフォルダの外を指すリンクです。";
    default: break;
  }
  return std::string("エラーが起きました (") + std::strerror(err) + ")。";
}

std::string FileErrorText(const std::string& file, int err) {
  return file + " にアクセスできませんでした。\n" + FileErrorReason(err);
}

std::string RenameSubject(const std::string& source, const std::string& target) { return source + " → " + target; }

}  // namespace plat
