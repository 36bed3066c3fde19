# Source it: can_run_32bit answers whether this machine's kernel executes 32-bit x86
# programs, by running one. Some kernels are built without that support: every 32-bit
# program then fails with "Exec format error", Wine's 32-bit loader included.
#
# The program is the smallest static i386 ELF executable: one loadable segment whose code
# is `mov eax, 1; mov ebx, 7; int 0x80`, the exit system call with status 7. It needs no
# library, so the answer does not depend on which packages are installed.
can_run_32bit() {
  local probe
  probe=$(mktemp "${TMPDIR:-/tmp}/quillory-i386-probe.XXXXXX")
  printf '%b' \
    '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' \
    '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00' \
    '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00' \
    '\x00\x00\x00\x00' \
    '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08' \
    '\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' \
    '\xb8\x01\x00\x00\x00\xbb\x07\x00\x00\x00\xcd\x80' > "$probe"
  chmod +x "$probe"
  local status=0
  probe_error=$( ("$probe") 2>&1) || status=$?
  rm -f "$probe"
  probe_error=${probe_error##*: }
  [ "$status" -eq 7 ]
}

# Why 32-bit checks are skipped, in one line; valid after can_run_32bit has answered no.
no_32bit_reason() {
  echo "this machine cannot run 32-bit x86 programs (a minimal 32-bit program failed:" \
       "${probe_error:-no exit status 7}), so 32-bit Wine cannot start"
}
