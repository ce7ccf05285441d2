# Writes the page's service worker: its cache named by a hash of every file it keeps, so that a
# changed build replaces them. Run as cmake -DDIR=... -DTEMPLATE=... -DFILES=a;b;... -P this file.

set(hashes)
set(listed)
foreach(file ${FILES})
  file(SHA256 ${DIR}/${file} hash)
  string(APPEND hashes "${file} ${hash}\n")
  list(APPEND listed "'${file}'")
endforeach()
string(SHA256 PAGE_HASH "${hashes}")
string(SUBSTRING ${PAGE_HASH} 0 16 PAGE_HASH)
list(JOIN listed ", " PAGE_FILES)
configure_file(${TEMPLATE} ${DIR}/service_worker.js @ONLY)
