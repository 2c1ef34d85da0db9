#include "regconv/regconv_strings.h"

std::string_view ConverterString(int id) {
  switch (id) {
    case kStrConverterCaption: return "Change KIV Registry";
    case kStrNoSettings:
      return "以前に  KIV を利用された形跡がありませんので、\nレジストリを変更する必要はありません。\n"
             "そのまま KIV を起動し、指示に従ってください。";
    case kStrAlreadyConverted:
      return "既にレジストリの更新を実行したか、現バージョンが\n新規導入の可能性があるので、これ以上レジストリを\n"
             "更新する必要はありません。";
    case kStrConverted: return "レジストリは更新されました。新しい KIV を起動してください。";
    case kStrConfirmDeleteAll: return "Tallowick のレジストリ設定を全て削除します。\nよろしいですか？";
    case kStrAllDeleted: return "Tallowick の全てのレジストリ設定は削除されました。";
  }
  return {};
}
