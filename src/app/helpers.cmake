# target_sources(corvanta_app PRIVATE ...) for the dialog helpers and desktop services
