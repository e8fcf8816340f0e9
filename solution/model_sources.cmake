# The portable sources of the solution model: every one but the Windows sides of its seams. The
# Windows build (solution/CMakeLists.txt) and the native sanitizer build (tests/native) share it.
set(QUORLAN_MODEL_SOURCES
    cache_file.cpp
    file_handle.cpp
    file_list.cpp
    folder_walker.cpp
    item_path_joiner.cpp
    load_report.cpp
    model_cuts.cpp
    msbuild_project.cpp
    msbuild_properties.cpp
    path.cpp
    project.cpp
    project_reader.cpp
    sdk_default_items.cpp
    slnx_reader.cpp
    solution.cpp
    solution_reader.cpp
    temporary_cache_file.cpp
    text.cpp
    watch_list.cpp
    wildcard.cpp
    xml_depth.cpp
    xml_workspace.cpp)
