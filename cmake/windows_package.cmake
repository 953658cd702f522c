# The Windows programs' installation: the three programs beside each other.
install(TARGETS si32-report reschk RUNTIME DESTINATION .)
