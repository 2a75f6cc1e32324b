# Sourced: which Windows build our Wine work uses on this machine.
#
#   choose_windows_arch
#
# Some x86-64 machines cannot execute 32-bit x86 code at all, so 32-bit Wine
# cannot start there; 64-bit Wine runs the win64 build instead. The choice is
# made once: VEXMAR_WINDOWS_ARCH=win32|win64 overrides it, otherwise a tiny
# 32-bit program is tried. Exports VEXMAR_WINDOWS_ARCH and sets
# WINDOWS_ARCH_REASON; returns 2 for an unknown override.

# A 93-byte static 32-bit Linux program that only exits with 0: the kernel
# runs it or refuses it with "Exec format error", whatever Wine would say.
can_execute_32bit() {
  local probe status
  probe=$(mktemp /tmp/vexmar-ia32.XXXXXX) || return 1
  # ELF header (52 bytes), one loadable segment (32), then
  # mov eax, 1; xor ebx, ebx; int 0x80.
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' >"$probe"
  printf '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00' >>"$probe"
  printf '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00' >>"$probe"
  printf '\x00\x00\x00\x00' >>"$probe"
  printf '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08' >>"$probe"
  printf '\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' >>"$probe"
  printf '\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >>"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null
  status=$?
  rm -f "$probe"
  return $status
}

choose_windows_arch() {
  case "${VEXMAR_WINDOWS_ARCH:-}" in
    win32 | win64)
      WINDOWS_ARCH_REASON="chosen by VEXMAR_WINDOWS_ARCH"
      ;;
    "")
      if can_execute_32bit; then
        VEXMAR_WINDOWS_ARCH=win32
        WINDOWS_ARCH_REASON="this machine can execute 32-bit code"
      else
        VEXMAR_WINDOWS_ARCH=win64
        WINDOWS_ARCH_REASON="this machine cannot execute 32-bit code"
      fi
      ;;
    *)
      echo "VEXMAR_WINDOWS_ARCH must be win32 or win64, not '$VEXMAR_WINDOWS_ARCH'" >&2
      return 2
      ;;
  esac
  export VEXMAR_WINDOWS_ARCH
}

# How the chosen build runs, for the one line a run starts with.
windows_arch_summary() {
  if [ "$VEXMAR_WINDOWS_ARCH" = win64 ]; then
    echo "win64 under 64-bit Wine ($WINDOWS_ARCH_REASON)"
  else
    echo "win32 under 32-bit Wine ($WINDOWS_ARCH_REASON)"
  fi
}
