# Build configuration: the hosts the programs talk to. Defaults point at the local
# stand-in server and at names under the reserved .example domain.
set(TV_SERVER_URL "http://127.0.0.1:8460" CACHE STRING "The maker's server (no trailing slash)")
set(TV_SITE_DOMAIN "talvery.example" CACHE STRING "The maker's site domain, used as the directory links' query")
set(TV_OUTSIDE_SITE_1 "http://pictures-one.example" CACHE STRING "First outside site")
set(TV_OUTSIDE_SITE_2 "http://pictures-two.example" CACHE STRING "Second outside site")
set(TV_DIRECTORY_DOMAIN "pictures.example" CACHE STRING
    "Domain under which the directory links' outside picture sites live (one host each)")
