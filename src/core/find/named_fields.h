#pragma once

#include <QStringList>
#include <QStringView>
#include <vector>

namespace Find {

// The extra fields (query.h) a find text names as `name:`, each once, in
// the order named, whether or not a value follows yet: `format:` as it is
// typed. Names are read as Query::parse reads them.
std::vector<int> extraFieldsNamed(QStringView text, const QStringList& extraFields);

} // namespace Find
