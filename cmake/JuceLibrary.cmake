# Builds the JUCE modules the program uses into one static library, `drx_juce`.
# Every consumer (core library, wizard, tests, tools) links this one target, so
# the modules are compiled once per build tree and every translation unit sees
# exactly the same JUCE configuration.

find_package(JUCE CONFIG REQUIRED)
find_package(PkgConfig REQUIRED)

# Plain (non juce_add_*) targets have to link JUCE's system libraries themselves.
pkg_check_modules(DRX_FREETYPE REQUIRED IMPORTED_TARGET freetype2)
pkg_check_modules(DRX_FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
pkg_check_modules(DRX_CURL REQUIRED IMPORTED_TARGET libcurl)
pkg_check_modules(DRX_IMG REQUIRED IMPORTED_TARGET libpng libjpeg)

set(DRX_JUCE_MODULES juce_core juce_events juce_data_structures juce_graphics juce_gui_basics)
set(DRX_JUCE_GEN "${CMAKE_BINARY_DIR}/juce_generated")
file(MAKE_DIRECTORY "${DRX_JUCE_GEN}")

# --- Corrected PNG loader ---------------------------------------------------
# The packaged loader's libpng error callback returns instead of jumping back,
# so a corrupt or truncated PNG crashes the process, and a short read hands
# libpng uninitialised bytes. We compile juce_graphics with a mended copy.
set(_gfx_dir "${JUCE_MODULES_DIR}/juce_graphics")
file(READ "${_gfx_dir}/image_formats/juce_PNGLoader.cpp" _png)

function(drx_patch_text var old new what)
    string(FIND "${${var}}" "${old}" _at)
    if(_at EQUAL -1)
        message(FATAL_ERROR "JUCE source changed: cannot find the ${what} to correct. "
                            "Review cmake/JuceLibrary.cmake against this JUCE version.")
    endif()
    string(REPLACE "${old}" "${new}" _out "${${var}}")
    set(${var} "${_out}" PARENT_SCOPE)
endfunction()

drx_patch_text(_png
"    static void JUCE_CDECL readCallback (png_structp png, png_bytep data, png_size_t length)
    {
        static_cast<InputStream*> (png_get_io_ptr (png))->read (data, (int) length);
    }"
"    static void JUCE_CDECL readCallback (png_structp png, png_bytep data, png_size_t length)
    {
        const auto got = static_cast<InputStream*> (png_get_io_ptr (png))->read (data, (int) length);

        if (got != (int) length)
            png_error (png, \"truncated PNG data\");
    }"
"PNG read callback")

drx_patch_text(_png
"    static void JUCE_CDECL errorCallback (png_structp p, png_const_charp)
    {
       #ifdef PNG_SETJMP_SUPPORTED
        setjmp(png_jmpbuf(p));
       #else
        longjmp (*(jmp_buf*) p->error_ptr, 1);
       #endif
    }"
"    [[noreturn]] static void JUCE_CDECL errorCallback (png_structp p, png_const_charp)
    {
        longjmp (*static_cast<jmp_buf*> (png_get_error_ptr (p)), 1);
    }"
"PNG error callback")

file(WRITE "${DRX_JUCE_GEN}/juce_PNGLoader_fixed.cpp.in" "${_png}")
configure_file("${DRX_JUCE_GEN}/juce_PNGLoader_fixed.cpp.in" "${DRX_JUCE_GEN}/juce_PNGLoader_fixed.cpp" COPYONLY)

file(READ "${_gfx_dir}/juce_graphics.cpp" _gfx)
drx_patch_text(_gfx "#include \"image_formats/juce_PNGLoader.cpp\""
                    "#include \"${DRX_JUCE_GEN}/juce_PNGLoader_fixed.cpp\""
                    "PNG loader include")
# The copy lives outside the module folder: make its relative includes absolute.
string(REGEX REPLACE "#include \"([^\"/][^\"]*)\"" "#include \"${_gfx_dir}/\\1\"" _gfx "${_gfx}")
file(WRITE "${DRX_JUCE_GEN}/juce_graphics.cpp.in" "${_gfx}")
configure_file("${DRX_JUCE_GEN}/juce_graphics.cpp.in" "${DRX_JUCE_GEN}/juce_graphics.cpp" COPYONLY)

# --- The library ------------------------------------------------------------
set(_sources "${DRX_JUCE_GEN}/juce_graphics.cpp")
foreach(m juce_core juce_events juce_data_structures juce_gui_basics)
    list(APPEND _sources "${JUCE_MODULES_DIR}/${m}/${m}.cpp")
endforeach()

add_library(drx_juce STATIC ${_sources})
target_include_directories(drx_juce SYSTEM PUBLIC "${JUCE_MODULES_DIR}")
set_target_properties(drx_juce PROPERTIES POSITION_INDEPENDENT_CODE ON)
# In the fuzzing tree JUCE is still checked by the sanitizers, but its branches are not
# what the fuzzers explore: without coverage and optimised, drawing a fuzzed design costs a
# fraction of the time.
if(DRX_FUZZ)
    target_compile_options(drx_juce PRIVATE -fno-sanitize=fuzzer-no-link -O2)
endif()

target_compile_definitions(drx_juce PUBLIC
    JUCE_GLOBAL_MODULE_SETTINGS_INCLUDED=1
    JUCE_STANDALONE_APPLICATION=1
    JUCE_MODAL_LOOPS_PERMITTED=1
    JUCE_CATCH_UNHANDLED_EXCEPTIONS=1
    JUCE_USE_CURL=1
    JUCE_WEB_BROWSER=0
    JUCE_DISPLAY_SPLASH_SCREEN=0
    JUCE_REPORT_APP_USAGE=0
    JUCE_USE_XSHM=1
    LINUX=1
    $<IF:$<CONFIG:Debug>,DEBUG=1 _DEBUG=1,NDEBUG=1 _NDEBUG=1>)
foreach(m ${DRX_JUCE_MODULES})
    target_compile_definitions(drx_juce PUBLIC JUCE_MODULE_AVAILABLE_${m}=1)
endforeach()

find_package(Threads REQUIRED)
target_link_libraries(drx_juce PUBLIC
    PkgConfig::DRX_FREETYPE PkgConfig::DRX_FONTCONFIG PkgConfig::DRX_CURL PkgConfig::DRX_IMG
    Threads::Threads ${CMAKE_DL_LIBS} rt z)
