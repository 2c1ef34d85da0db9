#include "profile/qsettings_profile.h"

#include <cstdint>

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace {

// The stored name among candidates that equals wanted without regard to
// case; an exact match wins over one that differs in case only.
QString FindName(const QStringList& candidates, const QString& wanted, bool* found) {
  *found = true;
  if (candidates.contains(wanted)) return wanted;
  for (const QString& c : candidates) {
    if (c.compare(wanted, Qt::CaseInsensitive) == 0) return c;
  }
  *found = false;
  return wanted;
}

QStringList SectionParts(const std::string& section) {
  QString s = QString::fromUtf8(section);
  s.replace(QLatin1Char('\\'), QLatin1Char('/'));
  return s.split(QLatin1Char('/'), Qt::SkipEmptyParts);
}

QString Join(const QString& group, const QString& name) {
  return group.isEmpty() ? name : group + QLatin1Char('/') + name;
}

// A registry number is 32 bits wide: values up to 0xFFFFFFFF come back as
// their signed 32-bit twin, as they do from the registry.
std::optional<int> ToInt32(const QVariant& v) {
  bool ok = false;
  qlonglong n = 0;
  switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: n = v.toLongLong(&ok); break;
    default: n = v.toString().trimmed().toLongLong(&ok, 10); break;
  }
  if (!ok || n < INT32_MIN || n > static_cast<qlonglong>(UINT32_MAX)) return std::nullopt;
  return static_cast<int>(static_cast<std::uint32_t>(n));
}

}  // namespace

struct QSettingsProfile::Resolved {
  QString path;  // the stored spelling where found, the asked one beyond
  bool exists = false;
};

QSettingsProfile::QSettingsProfile()
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            QString::fromLatin1(kCompany), QString::fromLatin1(kApplication))) {
  // Only the user's own settings count, as with the per-user registry.
  settings_->setFallbacksEnabled(false);
}

QSettingsProfile::QSettingsProfile(const std::string& iniPath)
    : settings_(std::make_unique<QSettings>(QString::fromUtf8(iniPath), QSettings::IniFormat)) {
  settings_->setFallbacksEnabled(false);
}

QSettingsProfile::~QSettingsProfile() = default;

QSettingsProfile::Resolved QSettingsProfile::ResolveSection(const std::string& section) const {
  Resolved r;
  r.exists = true;
  for (const QString& part : SectionParts(section)) {
    if (r.exists) {
      settings_->beginGroup(r.path);
      QStringList groups = settings_->childGroups();
      settings_->endGroup();
      bool found = false;
      r.path = Join(r.path, FindName(groups, part, &found));
      r.exists = found;
    } else {
      r.path = Join(r.path, part);
    }
  }
  return r;
}

QSettingsProfile::Resolved QSettingsProfile::ResolveValue(const std::string& section, const std::string& name) const {
  Resolved group = ResolveSection(section);
  QString wanted = QString::fromUtf8(name);
  Resolved r;
  if (!group.exists) {
    r.path = Join(group.path, wanted);
    return r;
  }
  settings_->beginGroup(group.path);
  QStringList keys = settings_->childKeys();
  settings_->endGroup();
  r.path = Join(group.path, FindName(keys, wanted, &r.exists));
  return r;
}

int QSettingsProfile::GetProfileInt(const std::string& section, const std::string& name, int defaultValue) {
  return FindInt(section, name).value_or(defaultValue);
}

std::string QSettingsProfile::GetProfileString(const std::string& section, const std::string& name,
                                               const std::string& defaultValue) {
  return FindString(section, name).value_or(defaultValue);
}

void QSettingsProfile::WriteProfileInt(const std::string& section, const std::string& name, int value) {
  settings_->setValue(ResolveValue(section, name).path, QVariant(value));
}

void QSettingsProfile::WriteProfileString(const std::string& section, const std::string& name,
                                          const std::string& value) {
  settings_->setValue(ResolveValue(section, name).path, QVariant(QString::fromUtf8(value)));
}

bool QSettingsProfile::HasAnyValue() { return !settings_->allKeys().isEmpty(); }

bool QSettingsProfile::HasSection(const std::string& section) { return ResolveSection(section).exists; }

bool QSettingsProfile::HasValue(const std::string& section, const std::string& name) {
  return ResolveValue(section, name).exists;
}

std::optional<int> QSettingsProfile::FindInt(const std::string& section, const std::string& name) {
  Resolved r = ResolveValue(section, name);
  if (!r.exists) return std::nullopt;
  return ToInt32(settings_->value(r.path));
}

std::optional<std::string> QSettingsProfile::FindString(const std::string& section, const std::string& name) {
  Resolved r = ResolveValue(section, name);
  if (!r.exists) return std::nullopt;
  QVariant v = settings_->value(r.path);
  // A hand-edited INI file may hold a text with unquoted commas, which
  // QSettings reads as a list: it is still the one text that was written.
  if (v.typeId() == QMetaType::QStringList) return v.toStringList().join(QLatin1Char(',')).toStdString();
  return v.toString().toStdString();
}

void QSettingsProfile::DeleteValue(const std::string& section, const std::string& name) {
  Resolved r = ResolveValue(section, name);
  if (r.exists) settings_->remove(r.path);
}

void QSettingsProfile::DeleteSection(const std::string& section) {
  Resolved r = ResolveSection(section);
  if (r.exists && !r.path.isEmpty()) settings_->remove(r.path);
}

void QSettingsProfile::DeleteAll() { settings_->clear(); }

bool QSettingsProfile::Commit() {
  settings_->sync();
  return settings_->status() == QSettings::NoError;
}

std::string QSettingsProfile::Location() const { return settings_->fileName().toStdString(); }
