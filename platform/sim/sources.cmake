target_sources(si32_platform PRIVATE sim/sim_backend.cpp)
