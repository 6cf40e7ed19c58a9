#pragma once

#include "mainwindow/window_feature.h"

struct DvdRecord;

// Before the editor adds a new movie to a catalogue that uses the shelf,
// asks whether to add it when it looks like a movie already there (the same
// folded title, year and director; never the title alone), naming that
// movie and its copies. A catalogue without the shelf is never asked about.
class DuplicateQuestion : public WindowFeature {
    Q_OBJECT
public:
    explicit DuplicateQuestion(WindowContext& context);

    void start() override;

    // Whether the movie may be added: no look-alike, or the person said Yes.
    bool mayAdd(const DvdRecord& movie);
};
