target_sources(si32_platform PRIVATE host/host_backend.cpp host/x11_screen.cpp)
