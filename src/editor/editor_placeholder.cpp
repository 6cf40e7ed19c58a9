// The record editor.
