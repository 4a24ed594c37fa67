# The game as a genuine 32-bit Windows program: the game's own sources, the resource script
# linked in as the usual resource section, and the system's user32 and gdi32. None of our
# platform layer is built; platform/win32.h there is just <windows.h>.
enable_language(RC)

# The script is UTF-8 (it says so with #pragma code_page); its texts become Unicode resources.
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")

# WIN32: a GUI-subsystem program entered at WinMain (CMake links it with -mwindows).
add_executable(pokorinder WIN32 ${pokorinder_game_sources} resources/app.rc)
target_include_directories(pokorinder PRIVATE ${CMAKE_SOURCE_DIR})

# The game's texts are stored in code page 932, the code page of the Japanese ANSI functions.
# Only the C++ sources: the resource script has its own code page.
target_compile_options(pokorinder PRIVATE
    $<$<COMPILE_LANGUAGE:CXX>:-finput-charset=UTF-8 -fexec-charset=CP932>)

# The bitmaps are read by windres from the script's folder; rebuild when one of them changes.
set(pokorinder_resource_files resource.h background.bmp symbol1.bmp symbol2.bmp symbol3.bmp
    symbol4.bmp symbol5.bmp symbol6.bmp symbol7.bmp symbol8.bmp)
list(TRANSFORM pokorinder_resource_files PREPEND ${CMAKE_SOURCE_DIR}/resources/)
set_source_files_properties(resources/app.rc PROPERTIES OBJECT_DEPENDS "${pokorinder_resource_files}")

# No MinGW DLL beside the program: it imports only DLLs that come with Windows.
target_link_options(pokorinder PRIVATE -static-libgcc -static-libstdc++)
target_link_libraries(pokorinder PRIVATE user32 gdi32)
