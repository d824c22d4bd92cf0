#!/bin/sh
# Builds the small virtual machine that runs the 32-bit tests where this
# machine's kernel runs no 32-bit code: Debian's amd64 kernel (its IA-32
# emulation is on) and an initramfs made of busybox-static, the kernel
# modules that reach the host's files over virtio-9p, and tools/vm/init.
# Everything comes from Debian's packages; the kernel package is fetched with
# apt-get download and unpacked here, not installed.
#
#   tools/vm/make-machine.sh DIR     writes DIR/vmlinuz and DIR/initramfs.gz
set -eu

here=$(cd "$(dirname "$0")" && pwd)
out=${1:?usage: make-machine.sh DIR}
mkdir -p "$out"
out=$(cd "$out" && pwd)

# Rebuilt only when the init script or this builder changed.
stamp="$out/.made-from"
want=$(cat "$here/init" "$here/make-machine.sh" | cksum)
if [ -f "$out/vmlinuz" ] && [ -f "$out/initramfs.gz" ] && [ "$(cat "$stamp" 2>/dev/null)" = "$want" ]; then
  exit 0
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The kernel image package that linux-image-amd64 stands for.
kernel_package() {
  apt-cache depends linux-image-amd64 2>/dev/null | sed -n 's/^ *Depends: \(linux-image-[0-9].*\)/\1/p' | head -n 1
}
image=$(kernel_package)
if [ -z "$image" ] && [ "$(id -u)" = 0 ]; then
  apt-get update -q >/dev/null 2>&1 || true
  image=$(kernel_package)
fi
if [ -z "$image" ]; then
  echo "make-machine: apt-cache knows no linux-image-amd64 (run apt-get update)" >&2
  exit 1
fi
(cd "$work" && apt-get download "$image" >/dev/null 2>&1) || {
  echo "make-machine: apt-get download $image failed" >&2
  exit 1
}
dpkg-deb -x "$work"/linux-image-*.deb "$work/kernel"
version=$(ls "$work/kernel/lib/modules")
modules="$work/kernel/lib/modules/$version"

# The modules the guest loads, each after what it depends on (read from the
# module's own "depends=" record: the package ships no modules.dep).
module_path() { find "$modules" -name "$1.ko" -o -name "$1.ko.xz" | head -n 1; }
order=""
add_module() {
  case " $order " in *" $1 "*) return 0 ;; esac
  file=$(module_path "$1")
  [ -n "$file" ] || { echo "make-machine: no module $1 in $image" >&2; exit 1; }
  case "$file" in *.xz) xz -dc "$file" >"$work/$1.ko" ;; *) cp "$file" "$work/$1.ko" ;; esac
  for dep in $(strings -a "$work/$1.ko" | sed -n 's/^depends=//p' | tr ',' ' '); do
    add_module "$dep"
  done
  order="$order $1"
}
for module in virtio_pci 9pnet_virtio 9p overlay; do
  add_module "$module"
done

root="$work/initramfs"
mkdir -p "$root/bin" "$root/modules" "$root/proc" "$root/sys" "$root/dev" "$root/lower" \
  "$root/upper" "$root/newroot"
cp /bin/busybox "$root/bin/busybox"
for applet in sh mount umount insmod mkdir chroot poweroff cat echo sleep stty; do
  ln -s busybox "$root/bin/$applet"
done
for module in $order; do
  mv "$work/$module.ko" "$root/modules/"
done
echo "$order" >"$root/modules/order"
cp "$here/init" "$root/init"
chmod +x "$root/init"
(cd "$root" && find . | busybox cpio -o -H newc 2>/dev/null) | gzip -1 >"$out/initramfs.gz"
cp "$work/kernel/boot/vmlinuz-$version" "$out/vmlinuz"
echo "$want" >"$stamp"
echo "make-machine: $image with$order"
