#include "shell/HelpText.h"

namespace kes {

namespace {

// Plain text in lines; the help window's memo shows it as it stands (no word wrap), so lines stay short.
constexpr std::string_view kHelp = R"HELP(KESTRUP HELP
============

Double-click a web address below (the word itself, for example https://www.flashforth.com) and it opens in
your web browser. Only http and https addresses are opened.

Search: type a word in the box at the top left and press Enter or choose "Search" (from the top of the text).
"Searh Again" finds the next place after the current one; at the last place nothing more is selected.
Letter case does not matter. "Home" goes back to the top of this text.


WEB ADDRESSES
-------------

About the terminal and its console:
  https://learn.microsoft.com/windows/console/console-virtual-terminal-sequences
  https://en.wikipedia.org/wiki/ANSI_escape_code
  https://www.winehq.org

About FlashForth:
  https://www.flashforth.com
  https://sourceforge.net/projects/flashforth/
  https://github.com/oh2aun/flashforth
  https://forth-standard.org

About the SCAMP2 board:
  https://www.udamonic.com
  www.udamonic.com/scamp2.html


WHAT THE TERMINAL DOES
----------------------

Kestrup talks to a small board running an interactive Forth over a serial (COM) port. The big black window
is the terminal: what the board answers is shown there, and what you type goes to the board. Press Enter on
a line of the terminal and that line is sent to the board (the board's echo replaces it). With an ESP32 board
every key goes out at once and the command line below the terminal keeps your last 50 commands (Up and Down
arrow bring them back).

The status bar shows the port, its speed, data bits, parity, stop bits, the version, whether the port is
open, and the board type.

The main menu:
  File > SourceFile Window   shows the source window (same as the "Show Sourcefile window" button)
  File > Exit                closes the port and ends the program at once (no settings are stored)
  Serial-Setup               chooses the COM port, speed, data bits, parity, stop bits and flow control;
                             the choice is stored and used at the next start
  Connect                    opens the port and sends a line end, so the board shows its prompt
  Disconnect                 closes the port
  Log                        shows the log window: time-stamped lines about the port and the uploads;
                             "File > Save Log in file" keeps them, "Clear-Log-Window" empties the list
  Clear-Screen               "Sure? (Clear screen)" empties the terminal
  Processor-Type             the board type (below)
  Help                       this window
  Win10-ANSI-Console         starts the console companion (below)

Closing the main window stores the board type and the window's place for the next start.


THE SOURCE WINDOW AND ITS DIRECTIVES
------------------------------------

The source window holds Forth source: open, edit, save and print text files there, search in them, and send
them to the board with "Send all text to processor" or "Send selected text to processor". Each line is sent
and the terminal waits until the board has answered that line (at most 5 seconds) before it sends the next.
"Cancel upload" stops an upload. With "Skip \ comment lines" checked, lines that begin with a backslash are
not sent. A double click on an include line shows that file in a viewer below the text.

Directives in the source text (found anywhere in a line):

  \ include "C:\forth\lib\math.fs"
        sends the named file at this place, then goes on with the rest of the text. Give the file name in
        double quotes; a full drive path is safest, a name without a folder is taken from the folder of the
        source file. Included files may include further files; the "(Include level: n)" label shows how deep
        the upload is. "Accept  INCLUDE files" must be checked for includes to be followed.
  \ eof
        ends the upload here; nothing after this line is sent.

  Both need exactly one blank after the backslash; "\ INCLUDE" and "\ Include" work as well as "\ include".

  Other forms, for source written for other tools:
  #include math.fs
  #include <math.fs>
  #include "math.fs"
  ( include "math.fs" )
  #eof
  ( eof )

  \ log any text
  ( log any text )
        writes the line to the log window while uploading, for example
        \ log ----- loading the motor driver -----
        ( log version 2 of the LCD words )

All directives ignore letter case.


BOARD TYPES (menu Processor-Type)
---------------------------------

  Arduino FlashForth                 FlashForth on an Arduino (ATmega) board; lines end with CR.
  SCAMP2 FORTH                       the SCAMP2 board; lines end with CR, Esc in the terminal is sent to
                                     the board (to stop a running word).
  SCAMP2 FORTH using ANSI Console    the SCAMP2 board with its output also shown by the console companion.
  ESP32 FORTH                        ESP32forth; every key is sent at once, lines end with LF, and the
                                     "ESP32 Command line" below the terminal is shown.


THE CONSOLE COMPANION (menu Win10-ANSI-Console)
-----------------------------------------------

KestrupTirvane.exe is a small console program that must sit in the same folder as Kestrup.exe. It shows what
the board sends in a console window that understands ANSI escape sequences (colours, cursor movement), so
programs on the board can draw screens. Lines typed in the console go back through the terminal to the board.
The terminal sends its received text to the companion over a local network connection (127.0.0.1, port
6800) while the companion's window is open; when the companion is not running, the terminal works on alone
and says nothing about it. When a running companion cannot be reached, a box says
  "Problem connecting TCP to ANSI Console!"
and when KestrupTirvane.exe is not in the folder of Kestrup.exe, the menu item says
  "KestrupTirvane.exe not found in the Kestrup DIR! Must be in same DIR"


YOUR OWN HELP TEXT
------------------

Put a text file named MyHelp.txt in the folder of Kestrup.exe and this window shows it instead of this text
the next time it is opened.


GLOSSARY OF FLASHFORTH 5.0 (standard words)
-------------------------------------------

Stack effects: ( before -- after ). n = signed number, u = unsigned, d = double number, c = character,
addr = address, flag = true (-1) or false (0), xt = execution token.
COMPILE_ONLY words work only inside a colon definition.

!          ( x addr -- )            store x at addr
#          ( ud1 -- ud2 )           convert one digit of ud1 into the pictured output
#>         ( ud -- addr u )         end pictured output, give the string
#s         ( ud -- 0 0 )            convert all remaining digits
'          ( "name" -- xt )         find the execution token of name
(          ( "text)" -- )           comment up to the closing parenthesis
*          ( n1 n2 -- n3 )          multiply
*/         ( n1 n2 n3 -- n4 )       n1*n2/n3 with a double-cell middle result
*/mod      ( n1 n2 n3 -- rem quot ) n1*n2/n3 with remainder
+          ( n1 n2 -- n3 )          add
+!         ( n addr -- )            add n to the cell at addr
+loop      ( n -- )                 COMPILE_ONLY  add n to the loop index, loop again unless past the limit
,          ( x -- )                 append x to data space
-          ( n1 n2 -- n3 )          subtract
.          ( n -- )                 print n and a blank
."         ( "text" -- )            COMPILE_ONLY  print the text at run time
.s         ( -- )                   show the stack without changing it
/          ( n1 n2 -- n3 )          divide
/mod       ( n1 n2 -- rem quot )    divide with remainder
0<         ( n -- flag )            true if n is negative
0=         ( x -- flag )            true if x is zero
1+         ( n -- n+1 )             add one
1-         ( n -- n-1 )             subtract one
2*         ( x -- x*2 )             shift left one bit
2/         ( x -- x/2 )             arithmetic shift right one bit
2drop      ( x1 x2 -- )             drop two cells
2dup       ( x1 x2 -- x1 x2 x1 x2 ) copy two cells
2swap      ( x1 x2 x3 x4 -- x3 x4 x1 x2 )  swap two pairs
:          ( "name" -- )            begin a colon definition
:noname    ( -- xt )                begin a definition without a name
;          ( -- )                   COMPILE_ONLY  end a colon definition
<          ( n1 n2 -- flag )        true if n1 is less than n2
<#         ( -- )                   begin pictured numeric output
=          ( x1 x2 -- flag )        true if equal
>          ( n1 n2 -- flag )        true if n1 is greater than n2
>body      ( xt -- addr )           data field of a created word
>in        ( -- addr )              offset into the input buffer
>r         ( x -- ) ( R: -- x )     COMPILE_ONLY  move x to the return stack
?dup       ( x -- x x | 0 )         copy x if it is not zero
@          ( addr -- x )            fetch the cell at addr
[          ( -- )                   switch to interpreting
[']        ( "name" -- xt )         COMPILE_ONLY  compile the execution token of name
[char]     ( "name" -- c )          COMPILE_ONLY  compile the first character of name
\          ( "text" -- )            comment to the end of the line
]          ( -- )                   switch to compiling
abort      ( -- )                   empty the stacks and return to the interpreter
abort"     ( flag "text" -- )       COMPILE_ONLY  if flag is true, print text and abort
abs        ( n -- u )               absolute value
accept     ( addr u1 -- u2 )        read a line of at most u1 characters
again      ( -- )                   COMPILE_ONLY  end of a begin ... again endless loop
align      ( -- )                   align the data space pointer
allot      ( n -- )                 reserve n bytes of data space
and        ( x1 x2 -- x3 )          bitwise and
base       ( -- addr )              the number base
begin      ( -- )                   COMPILE_ONLY  start of a loop
bl         ( -- c )                 the blank character
c!         ( c addr -- )            store a byte
c,         ( c -- )                 append a byte to data space
c@         ( addr -- c )            fetch a byte
cell+      ( addr -- addr+2 )       next cell address
cells      ( n -- n*2 )             size of n cells in bytes
char       ( "name" -- c )          first character of name
cmove      ( addr1 addr2 u -- )     copy u bytes
constant   ( x "name" -- )          define a constant
count      ( addr -- addr+1 u )     address and length of a counted string
cr         ( -- )                   start a new line
create     ( "name" -- )            define a word that gives its data address
cwd        ( -- )                   clear the watchdog timer
decimal    ( -- )                   number base 10
defer      ( "name" -- )            define a word whose action is set later with is
depth      ( -- n )                 number of cells on the stack
di         ( -- )                   disable interrupts
do         ( limit start -- )       COMPILE_ONLY  start a counted loop
does>      ( -- )                   COMPILE_ONLY  give the created words their run-time action
drop       ( x -- )                 remove the top cell
dump       ( addr u -- )            show u bytes of memory
dup        ( x -- x x )             copy the top cell
eeprom     ( -- )                   the following data words use EEPROM
ei         ( -- )                   enable interrupts
else       ( -- )                   COMPILE_ONLY  part of if ... else ... then
emit       ( c -- )                 send a character
empty      ( -- )                   forget everything you defined since the board was new
execute    ( xt -- )                run the word xt
exit       ( -- )                   COMPILE_ONLY  leave the current definition
false      ( -- 0 )                 the false flag
fill       ( addr u c -- )          fill u bytes with c
flash      ( -- )                   the following data words use flash memory
for        ( u -- )                 COMPILE_ONLY  start a for ... next loop run u times
forget     ( "name" -- )            forget name and every word defined after it
here       ( -- addr )              the data space pointer
hex        ( -- )                   number base 16
hold       ( c -- )                 insert c into pictured output
i          ( -- n )                 COMPILE_ONLY  index of the innermost do loop
if         ( flag -- )              COMPILE_ONLY  run the following part when flag is true
immediate  ( -- )                   make the last word run while compiling
invert     ( x1 -- x2 )             flip all bits
is         ( xt "name" -- )         set the action of a deferred word
j          ( -- n )                 COMPILE_ONLY  index of the next outer do loop
key        ( -- c )                 wait for a character
key?       ( -- flag )              true if a character is waiting
leave      ( -- )                   COMPILE_ONLY  leave the do loop
literal    ( x -- )                 COMPILE_ONLY  compile x as a number
loop       ( -- )                   COMPILE_ONLY  end of a do loop
lshift     ( x1 u -- x2 )           shift left u bits
marker     ( "name" -- )            name forgets everything defined from here on
max        ( n1 n2 -- n3 )          the larger number
mclr       ( mask addr -- )         clear the mask bits in the byte at addr
min        ( n1 n2 -- n3 )          the smaller number
mod        ( n1 n2 -- rem )         remainder of the division
ms         ( u -- )                 wait u milliseconds
mset       ( mask addr -- )         set the mask bits in the byte at addr
mtst       ( mask addr -- x )       the mask bits of the byte at addr
negate     ( n -- -n )              change the sign
next       ( -- )                   COMPILE_ONLY  end of a for loop
nip        ( x1 x2 -- x2 )          remove the second cell
or         ( x1 x2 -- x3 )          bitwise or
over       ( x1 x2 -- x1 x2 x1 )    copy the second cell
postpone   ( "name" -- )            COMPILE_ONLY  compile the compiling action of name
r>         ( -- x ) ( R: x -- )     COMPILE_ONLY  move x from the return stack
r@         ( -- x ) ( R: x -- x )   COMPILE_ONLY  copy the top of the return stack
ram        ( -- )                   the following data words use RAM
recurse    ( -- )                   COMPILE_ONLY  call the definition being compiled
repeat     ( -- )                   COMPILE_ONLY  end of begin ... while ... repeat
rot        ( x1 x2 x3 -- x2 x3 x1 ) rotate the third cell to the top
rshift     ( x1 u -- x2 )           logical shift right u bits
s"         ( "text" -- addr u )     COMPILE_ONLY  a string literal
sign       ( n -- )                 add a minus sign to pictured output if n is negative
space      ( -- )                   print a blank
spaces     ( n -- )                 print n blanks
state      ( -- addr )              true while compiling
swap       ( x1 x2 -- x2 x1 )       swap the top two cells
then       ( -- )                   COMPILE_ONLY  end of if ... then
ticks      ( -- u )                 the millisecond counter
true       ( -- -1 )                the true flag
tuck       ( x1 x2 -- x2 x1 x2 )    copy the top cell under the second
turnkey    ( "name" -- )            run name at every start of the board
type       ( addr u -- )            print a string
u.         ( u -- )                 print an unsigned number
u<         ( u1 u2 -- flag )        true if u1 is less than u2 (unsigned)
um*        ( u1 u2 -- ud )          unsigned multiply to a double number
um/mod     ( ud u1 -- rem quot )    unsigned divide of a double number
unloop     ( -- )                   COMPILE_ONLY  drop the loop parameters before exit
until      ( flag -- )              COMPILE_ONLY  end of begin ... until, loop again while flag is false
user       ( n "name" -- )          define a user variable
value      ( x "name" -- )          define a value, changed with to
variable   ( "name" -- )            define a variable
warm       ( -- )                   restart the board's Forth
while      ( flag -- )              COMPILE_ONLY  leave begin ... while ... repeat when flag is false
words      ( -- )                   list all words the board knows
xor        ( x1 x2 -- x3 )          bitwise exclusive or


SCAMP2 BOARD WORDS
------------------

Words of the SCAMP2 build of FlashForth, in the same layout. Pins are numbered as printed on the board; type
words on the board to see the words of your firmware.

adc@       ( pin -- u )             read the analog value of a pin
baud       ( u -- )                 set the speed of the console UART (for example 38400 baud)
high       ( pin -- )               drive an output pin high
input      ( pin -- )               make a pin an input
low        ( pin -- )               drive an output pin low
output     ( pin -- )               make a pin an output
pin@       ( pin -- flag )          read a pin: true when it is high
pullup     ( pin -- )               switch on the pull-up of an input pin
toggle     ( pin -- )               change the level of an output pin
u2baud     ( u -- )                 set the speed of the second UART
u2emit     ( c -- )                 send a character through the second UART
u2init     ( -- )                   set up the second UART with its pins
u2key      ( -- c )                 wait for a character from the second UART
u2key?     ( -- flag )              true if the second UART has a character
)HELP";

}  // namespace

std::string_view BuiltInHelpText() { return kHelp; }

}  // namespace kes
