// Filled by the stock picker and the stock editor.
