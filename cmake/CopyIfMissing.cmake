# Copies each of FILES (a ;-separated list) into DEST unless a file of that name is already there:
# the build ships a program's files without ever overwriting what a user has saved over them.
#   cmake -DFILES=a;b -DDEST=dir -P CopyIfMissing.cmake
foreach(f IN LISTS FILES)
  get_filename_component(name ${f} NAME)
  if(NOT EXISTS ${DEST}/${name})
    file(COPY ${f} DESTINATION ${DEST})
  endif()
endforeach()
