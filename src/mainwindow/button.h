#pragma once

// The main window's eight buttons by what they do; the value is the
// button's number (PushButton1 .. PushButton8).
enum class Button {
    DeleteSelectedMovie = 1,
    CopyMoviesToClipboard,
    CopyDatabaseToExcel,
    AddNewMovie,
    EditSelectedMovie,
    ClearDatabase,
    LoadExampleData,
    Help,
};
