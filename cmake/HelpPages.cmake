# Makes a page of every topic of the popup topic file connect.txt (its first
# line the heading, the rest the text, then a link to the page of its screen)
# and ties each help context number to its page in the help project: chmcmd
# ties one context number to one page only, so the controls of one screen
# cannot all point at the screen's page.
#
#   cmake -DWORK=<copy of data/help> -P HelpPages.cmake
if(NOT WORK)
  message(FATAL_ERROR "HelpPages.cmake: WORK is not set")
endif()

file(READ ${WORK}/connect.txt text)
# Semicolons would split the list of lines; they come back when a page is written.
string(REPLACE ";" "@SEMICOLON@" text "${text}")
string(REPLACE "\r" "" text "${text}")
string(REPLACE "\n" ";" lines "${text}")

set(files "")
set(aliases "")
set(map "")

function(html out value)
  string(REPLACE "&" "&amp;" value "${value}")
  string(REPLACE "<" "&lt;" value "${value}")
  string(REPLACE ">" "&gt;" value "${value}")
  string(REPLACE "@SEMICOLON@" ";" value "${value}")
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

macro(write_page)
  if(number)
    if(NOT page)
      message(FATAL_ERROR "connect.txt: .topic ${number} names no page of its screen")
    endif()
    file(READ ${WORK}/${page} target)
    if(target MATCHES "<title>([^<]*)</title>")
      set(screen "${CMAKE_MATCH_1}")
    else()
      set(screen "${page}")
    endif()
    html(heading "${title}")
    set(body "")
    foreach(paragraph IN LISTS paragraphs)
      html(paragraph "${paragraph}")
      string(APPEND body "<p>${paragraph}</p>\n")
    endforeach()
    file(WRITE ${WORK}/k${number}.htm
      "<html><head><meta charset=\"utf-8\"><title>${heading}</title>"
      "<link rel=\"stylesheet\" href=\"styl.css\"></head>\n<body>\n<h1>${heading}</h1>\n${body}"
      "<p class=\"dalsi\">Více o obrazovce: <a href=\"${page}\">${screen}</a></p>\n</body></html>\n")
    string(APPEND files "k${number}.htm\n")
    string(APPEND aliases "IDH_${number}=k${number}.htm\n")
    string(APPEND map "#define IDH_${number} ${number}\n")
  endif()
endmacro()

set(number "")
foreach(line IN LISTS lines)
  if(line MATCHES "^\\.topic[ \t]+([0-9]+)[ \t]*([^ \t]*)")
    set(next_number ${CMAKE_MATCH_1})
    set(next_page ${CMAKE_MATCH_2})
    write_page()
    set(number ${next_number})
    set(page ${next_page})
    set(title "")
    set(paragraphs "")
  elseif(line MATCHES "^@SEMICOLON@" OR line STREQUAL "")
    # a comment, or the space between topics
  elseif(number AND title STREQUAL "")
    set(title "${line}")
  elseif(number)
    list(APPEND paragraphs "${line}")
  endif()
endforeach()
write_page()

file(APPEND ${WORK}/Zorvik.hhp "${files}\n[ALIAS]\n${aliases}\n[MAP]\n${map}")
