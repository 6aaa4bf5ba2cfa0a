# The builder's portable sources, shared by the Windows build (tools/pack)
# and the native Linux build (tools/pack/native). Paths are relative to the
# repository root.
set(PACK_CORE_SOURCES
  tools/pack/files.cpp
  tools/pack/json.cpp
  tools/pack/pack_plan.cpp
  tools/pack/pack_run.cpp
  tools/pack/pack_settings.cpp
  tools/pack/package_writer.cpp
  tools/pack/picture_check.cpp
  tools/pack/program_image.cpp
  tools/pack/progress.cpp
  tools/pack/shown_name.cpp
  tools/pack/source_tree.cpp
  tools/pack/zip_writer.cpp)
# What the builder shares with the installer; the Windows build takes it from
# the payload and base libraries.
set(PACK_SHARED_SOURCES
  base/text.cpp
  base/windows_case.cpp
  payload/entry_data.cpp
  payload/entry_path.cpp
  payload/package_block.cpp
  payload/package_texts.cpp
  payload/zip_format.cpp)
set(PACK_TEST_SOURCES
  tests/pack/json_test.cpp
  tests/pack/pack_plan_test.cpp
  tests/pack/pack_run_test.cpp
  tests/pack/program_image_test.cpp
  tests/pack/package_block_test.cpp
  tests/pack/picture_check_test.cpp
  tests/pack/shown_name_test.cpp
  tests/pack/windows_case_test.cpp
  tests/pack/zip_writer_test.cpp
  tests/pack/pack_test_support.cpp
  tests/payload/zip_builder.cpp)
