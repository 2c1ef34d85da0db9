#include "regconv/registry_converter.h"

#include <cerrno>

#include "regconv/layout_conversion.h"
#include "regconv/regconv_strings.h"
#include "resources/settings_keys.h"

namespace {

MsgResult Tell(MessagePort& messages, int id, MsgIcon icon, MsgButtons buttons = MsgButtons::Ok) {
  MsgStyle style;
  style.icon = icon;
  style.buttons = buttons;
  return messages.ShowMessage(
      Message{id, std::string(ConverterString(id)), std::string(ConverterString(kStrConverterCaption))}, style);
}

bool Store(SettingsStore& store, MessagePort& messages) {
  if (store.Commit()) return true;
  // The store doesn't say why it failed; not being let write is the cause
  // of nearly every failure to replace a settings file.
  messages.ReportFileError(store.Location(), EACCES);
  return false;
}

ConversionOutcome DeleteAll(SettingsStore& store, MessagePort& messages) {
  if (Tell(messages, kStrConfirmDeleteAll, MsgIcon::Question, MsgButtons::YesNo) != MsgResult::Yes) {
    return ConversionOutcome::DeleteDeclined;
  }
  store.DeleteAll();
  if (!Store(store, messages)) return ConversionOutcome::NotStored;
  Tell(messages, kStrAllDeleted, MsgIcon::Information);
  return ConversionOutcome::AllDeleted;
}

}  // namespace

bool AsksForDeleteAll(const std::vector<std::string>& args) {
  for (const std::string& a : args) {
    if (a == "--delete-all") return true;
  }
  return false;
}

ConversionOutcome ConvertRegistry(SettingsStore& store, MessagePort& messages, bool deleteAll) {
  if (!store.HasAnyValue()) {
    Tell(messages, kStrNoSettings, MsgIcon::Information);
    return ConversionOutcome::NoSettings;
  }
  if (deleteAll) return DeleteAll(store, messages);
  if (!store.HasSection(settings::kOldStrings) || store.HasValue(settings::kSetting, settings::kWindowPlace)) {
    Tell(messages, kStrAlreadyConverted, MsgIcon::Information);
    return ConversionOutcome::AlreadyConverted;
  }
  MoveToPresentLayout(store, ReadOldLayout(store));
  if (!Store(store, messages)) return ConversionOutcome::NotStored;
  Tell(messages, kStrConverted, MsgIcon::Information);
  return ConversionOutcome::Converted;
}
