/* Reelkeeper sample skin: soft grey-blue buttons with rounded corners.
   To use it, copy it to the folder "x" beside the program as "o.cjs". */

QPushButton {
    background-color: #e4eaf2;
    border: 1px solid #7d8fa8;
    border-radius: 4px;
    padding: 2px 8px;
    color: #1c2a3d;
}

QPushButton:hover {
    background-color: #d3deec;
    border-color: #4f6a8f;
}

QPushButton:pressed {
    background-color: #b9c9de;
}

QPushButton:focus {
    border: 2px solid #4f6a8f;
}

QTreeView {
    border: 1px solid #7d8fa8;
    selection-background-color: #4f6a8f;
    selection-color: white;
}

QHeaderView::section {
    background-color: #e4eaf2;
    border: 0px;
    border-right: 1px solid #b0bccd;
    border-bottom: 1px solid #7d8fa8;
    padding: 2px 4px;
}
