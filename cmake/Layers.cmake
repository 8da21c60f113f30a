# The tree's top-level folders and what each of the program's folders may
# include besides itself: read by the layer check (cmake/CheckLayers.cmake)
# and by CMakeLists.txt, which builds the core from these folders and checks
# again whenever a file in them changes. The table in docs/architecture.md
# and the README's say the same. Every top-level folder is named here: the
# check refuses one that is not, since it could not tell what it may use.

# The program's folders from the top down, each followed by what it may include.
set(QM47_LAYERS tools entry ui pages app serial res framework platform sim)
# The desk's tools, Windows programs that drive QM47.exe from outside (the
# replay of a technician's log, the recording of sessions) and the driving
# they share with the end-to-end tests: not part of the program.
set(QM47_LAYER_tools sim res)
set(QM47_LAYER_entry ui pages app framework serial res platform)
set(QM47_LAYER_ui app framework res platform)
set(QM47_LAYER_pages app framework serial res platform)
set(QM47_LAYER_app serial framework res platform)
set(QM47_LAYER_serial platform)
set(QM47_LAYER_res framework)
set(QM47_LAYER_framework platform)
set(QM47_LAYER_platform)
# The simulated printer shares only the records, the export list and the
# diagnostic log's language (which it reads to answer from a log) with the program.
set(QM47_LAYER_sim_FILES app/Records.h app/RecordFieldList.h app/DeviceLibraryExports.h app/LogFormat.h)

# Folders that may include anything: the tests, the benchmarks, the demo's helper.
set(QM47_FREE_FOLDERS tests bench demo sim/tests)

# Folders that hold none of the program's code, and are not read: the build
# helpers, the documents, the scripts, the presets' builds and the release.
set(QM47_OTHER_FOLDERS cmake docs scripts build dist)
