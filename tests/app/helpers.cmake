# tests of the dialog helpers
