#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running need, when any is missing.
# Sourced by ./run and ./test; needs root or sudo the first time.

ventora_packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev libgl-dev
    libxlsxwriter-dev zlib1g-dev xdg-utils
    libgtest-dev libgmock-dev libbenchmark-dev
    python3 python3-openpyxl locales
    fonts-liberation fonts-dejavu-core
    desktop-file-utils
    poppler-utils
    libmosquitto-dev mosquitto nlohmann-json3-dev openssl
    help2man dpkg-dev file lintian shared-mime-info
    libnetcdf-dev netcdf-bin python3-xarray python3-netcdf4 tzdata
)

# Programs and Python modules that the scripts, tests and programs run. They are not installed
# from here (the packages above provide them); tools/check-install-list.py checks that they do.
ventora_programs=(
    bash cmake ninja c++ pkg-config ctest ldd /usr/bin/python3
    pdftotext pdfinfo desktop-file-validate xdg-mime xdg-open localedef
    /usr/sbin/mosquitto mosquitto_passwd openssl
    cpack help2man gzip dpkg-deb dpkg-shlibdeps file strip lintian update-mime-database ncdump
)
ventora_python_modules=(openpyxl xarray netCDF4)

ventora_install_deps() {
    local missing=()
    local package
    for package in "${ventora_packages[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
}
