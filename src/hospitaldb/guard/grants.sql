-- Ownership and grants, last: they cover whatever tables the schema steps
-- have made by now. The hospital's schemas are the eleven databases of its
-- server, one schema each.

-- Everything the steps made (as whoever ran them) passes to the owner; the
-- functions of the citext extension stay the extension's.
DO $$
DECLARE
    schemas text[] := ARRAY['clinical_area', 'patient_data', 'station', 'build_file', 'billing',
                            'hemodialysis', 'inventory', 'laboratory', 'radiology', 'reports',
                            'password', 'chemodesk_private'];
    r record;
BEGIN
    FOR r IN SELECT nspname FROM pg_namespace WHERE nspname = ANY (schemas) LOOP
        EXECUTE format('ALTER SCHEMA %I OWNER TO chemodesk_owner', r.nspname);
    END LOOP;
    FOR r IN
        SELECT n.nspname, c.relname
        FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace
        WHERE (n.nspname = ANY (schemas) OR (n.nspname = 'public' AND c.relname = 'chemodesk_meta'))
          AND c.relkind IN ('r', 'v', 'p')
          AND c.relowner <> 'chemodesk_owner'::regrole
    LOOP
        EXECUTE format('ALTER TABLE %I.%I OWNER TO chemodesk_owner', r.nspname, r.relname);
    END LOOP;
    FOR r IN
        SELECT p.oid::regprocedure AS f
        FROM pg_proc p JOIN pg_namespace n ON n.oid = p.pronamespace
        WHERE (n.nspname = ANY (schemas) OR n.nspname = 'public')
          AND p.proowner <> 'chemodesk_owner'::regrole
          AND NOT EXISTS (SELECT 1 FROM pg_depend d
                          WHERE d.classid = 'pg_proc'::regclass AND d.objid = p.oid
                            AND d.deptype = 'e')
    LOOP
        EXECUTE format('ALTER FUNCTION %s OWNER TO chemodesk_owner', r.f);
    END LOOP;
END
$$;

-- The screens read and write the hospital's tables, and so do the tables
-- later steps add.
GRANT USAGE ON SCHEMA public, clinical_area, patient_data, station, build_file, billing,
    hemodialysis, inventory, laboratory, radiology, reports, password
    TO chemodesk_workstation;
GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA clinical_area, patient_data,
    station, build_file, billing, hemodialysis, inventory, laboratory, radiology, reports,
    password
    TO chemodesk_workstation;
GRANT USAGE, SELECT ON ALL SEQUENCES IN SCHEMA clinical_area, patient_data, station,
    build_file, billing, hemodialysis, inventory, laboratory, radiology, reports, password
    TO chemodesk_workstation;
ALTER DEFAULT PRIVILEGES FOR ROLE chemodesk_owner IN SCHEMA clinical_area, patient_data,
    station, build_file, billing, hemodialysis, inventory, laboratory, radiology, reports,
    password
    GRANT SELECT, INSERT, UPDATE, DELETE ON TABLES TO chemodesk_workstation;
ALTER DEFAULT PRIVILEGES FOR ROLE chemodesk_owner IN SCHEMA clinical_area, patient_data,
    station, build_file, billing, hemodialysis, inventory, laboratory, radiology, reports,
    password
    GRANT USAGE, SELECT ON SEQUENCES TO chemodesk_workstation;

-- No screen deletes a charge: a cancellation keeps the line with its status.
REVOKE DELETE ON clinical_area.tbcancercharges FROM chemodesk_workstation;

-- The employees are read through their view alone (password.sql).
REVOKE ALL ON password.tbpasswordmaster FROM chemodesk_workstation;
GRANT SELECT ON password.tbpasswordmaster TO chemodesk_workstation;

-- The clock and the schema's version are read by every workstation and set by
-- the IT alone.
REVOKE ALL ON public.chemodesk_meta FROM PUBLIC, chemodesk_workstation;
GRANT SELECT ON public.chemodesk_meta TO chemodesk_workstation;

REVOKE ALL ON ALL TABLES IN SCHEMA chemodesk_private FROM PUBLIC, chemodesk_workstation;

-- The guard's doors, and only those, are open to workstations.
REVOKE ALL ON FUNCTION public.chemodesk_sign_in(text, text, text) FROM PUBLIC;
GRANT EXECUTE ON FUNCTION public.chemodesk_sign_in(text, text, text) TO chemodesk_workstation;
REVOKE ALL ON FUNCTION public.chemodesk_resume(text) FROM PUBLIC;
GRANT EXECUTE ON FUNCTION public.chemodesk_resume(text) TO chemodesk_workstation;
REVOKE ALL ON FUNCTION public.chemodesk_check_access(text, text, text) FROM PUBLIC;
GRANT EXECUTE ON FUNCTION public.chemodesk_check_access(text, text, text)
    TO chemodesk_workstation;
REVOKE ALL ON FUNCTION public.chemodesk_audit_event(text, text) FROM PUBLIC;
GRANT EXECUTE ON FUNCTION public.chemodesk_audit_event(text, text) TO chemodesk_workstation;
REVOKE ALL ON FUNCTION public.chemodesk_audit_trail(timestamp) FROM PUBLIC;
GRANT EXECUTE ON FUNCTION public.chemodesk_audit_trail(timestamp) TO chemodesk_workstation;
