# stock editor tests
