#pragma once

#include "mainwindow/window_feature.h"

// Draws the movies only wished for (a wished copy and no owned one) in the
// list's muted text colour, read again with every fill and every change of
// the shelf's columns. A catalogue without wished copies changes nothing,
// and one without the shelf is sent no statement.
class WishedMovies : public WindowFeature {
    Q_OBJECT
public:
    explicit WishedMovies(WindowContext& context);

private:
    void mark();
};
