# Fails when the image given as IMAGE carries debug sections: the release
# installer is shipped stripped. Run as: cmake -DOBJDUMP=... -DIMAGE=... -P this
execute_process(COMMAND ${OBJDUMP} -h ${IMAGE} OUTPUT_VARIABLE sections RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT sections MATCHES "\\.text")
  message(FATAL_ERROR "cannot read the sections of ${IMAGE}")
endif()
string(REGEX MATCHALL "\\.debug_[a-z_]+" debug "${sections}")
if(debug)
  message(FATAL_ERROR "${IMAGE} carries debug sections: ${debug}")
endif()
message(STATUS "${IMAGE}: no debug sections")
